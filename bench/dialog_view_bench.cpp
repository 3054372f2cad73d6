// The Customize dialog's refresh, run on every change of the Find text:
// the view built again from the providers' trees (BuildView), the
// categories listed, the first category's commands listed and its first
// command shown. 10,000 commands in 100 categories from four providers,
// with an empty Find text and with a one-letter one.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench_registration.h"
#include "bench_world.h"
#include "customize/customize_form_logic.h"
#include "fake_os/recording_client_code.h"

namespace loomkeys::bench {
namespace {

constexpr int kProviders = 4;
constexpr int kCategoriesPerProvider = 25;
constexpr int kCommandsPerCategory = 100;

const char16_t* const kVerbs[] = {u"Align", u"Bold", u"Copy",   u"Duplicate", u"Export", u"Format",
                                  u"Group", u"Hide", u"Insert", u"Justify",   u"Lock",   u"Move"};
const char16_t* const kObjects[] = {u"shape", u"slide", u"text box", u"picture", u"table", u"chart", u"note"};

// Four providers with their trees, as their OnCreateUI events fill them.
struct Providers {
  ProviderList list;
  std::vector<std::unique_ptr<UIData>> trees;

  Providers() {
    for (int p = 0; p < kProviders; ++p) {
      std::byte record[20] = {};
      const int32_t version = 10;
      std::memcpy(record, &version, sizeof version);
      RegisteredProvider* provider = nullptr;
      list.Register(record, &provider, ProviderPlacement::kBack);
      trees.push_back(std::make_unique<UIData>());
      provider->tree = trees.back().get();
      for (int c = 0; c < kCategoriesPerProvider; ++c) {
        const std::u16string category = u"Category " + Number(p * kCategoriesPerProvider + c);
        for (int n = 0; n < kCommandsPerCategory; ++n) {
          const std::u16string name = std::u16string(kVerbs[n % 12]) + u" " + kObjects[(n / 12) % 7] + u" " + Number(n);
          const std::u16string description = u"Does " + name + u" for the selection";
          const auto key = static_cast<uint16_t>(n % 3 == 0 ? 'A' + n % 26 : 0);
          provider->tree->AddCommand2({category, name, description, key, 2, 3});
        }
      }
    }
  }
  static std::u16string Number(int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  }
};

void Refresh(benchmark::State& state, const char16_t* findText) {
  Providers providers;
  CustomizeFormState form;
  testing::RecordingErrorBoxes boxes;
  CustomizeFormLogic logic(form, boxes, [] { return false; });
  logic.Init(providers.list);
  form.findText = findText;
  logic.RefreshView();
  state.counters["commands shown"] = static_cast<double>(form.commands.size());
  const AllocationMeter meter;
  for (auto _ : state) logic.RefreshView();
  ReportPerIteration(state, meter.Since(), 0);
}

}  // namespace

void RegisterDialogViewBenchmarks() {
  benchmark::RegisterBenchmark("DialogRefresh/10000 commands/empty filter", Refresh, u"")
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("DialogRefresh/10000 commands/filter a", Refresh, u"a")->Unit(benchmark::kMillisecond);
}

}  // namespace loomkeys::bench
