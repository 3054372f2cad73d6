#pragma once
// Whole-file reads and writes under Windows (UTF-16) file names.
#include <string>

// The file's bytes; empty when it does not exist or cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// Replaces the file with `bytes`. False when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
