// Which types a compiled assembly uses that .NET Standard 2.0 does not have. The runtime's
// netstandard.dll forwards every type of .NET Standard 2.0 (and only those) to the assembly that
// implements it here, so its exported types are the standard's type surface; every type that the
// binding's assembly refers to must be among them.
using System;
using System.Collections.Generic;
using System.IO;
using System.Reflection.Metadata;
using System.Reflection.PortableExecutable;

namespace Loomkeys.Tests
{
    internal static class StandardSurface
    {
        // The full names (Namespace.Outer+Nested) of the types that netstandard.dll exports.
        public static HashSet<string> StandardTypes(string netstandardPath)
        {
            var names = new HashSet<string>(StringComparer.Ordinal);
            using (var file = new PEReader(File.OpenRead(netstandardPath)))
            {
                MetadataReader reader = file.GetMetadataReader();
                foreach (ExportedTypeHandle handle in reader.ExportedTypes)
                {
                    names.Add(ExportedName(reader, reader.GetExportedType(handle)));
                }
            }
            return names;
        }

        // The types that the assembly refers to and that are not in the standard.
        public static List<string> TypesOutside(string assemblyPath, HashSet<string> standard)
        {
            var outside = new List<string>();
            using (var file = new PEReader(File.OpenRead(assemblyPath)))
            {
                MetadataReader reader = file.GetMetadataReader();
                foreach (TypeReferenceHandle handle in reader.TypeReferences)
                {
                    string name = ReferenceName(reader, reader.GetTypeReference(handle));
                    if (!standard.Contains(name)) outside.Add(name);
                }
            }
            return outside;
        }

        private static string ExportedName(MetadataReader reader, ExportedType type)
        {
            string outer = type.Implementation.Kind == HandleKind.ExportedType
                ? ExportedName(reader, reader.GetExportedType((ExportedTypeHandle)type.Implementation))
                : null;
            return FullName(outer, reader.GetString(type.Namespace), reader.GetString(type.Name));
        }

        private static string ReferenceName(MetadataReader reader, TypeReference type)
        {
            string outer = type.ResolutionScope.Kind == HandleKind.TypeReference
                ? ReferenceName(reader, reader.GetTypeReference((TypeReferenceHandle)type.ResolutionScope))
                : null;
            return FullName(outer, reader.GetString(type.Namespace), reader.GetString(type.Name));
        }

        // Namespace.Name, or Outer+Name for a nested type.
        private static string FullName(string outer, string space, string name)
        {
            if (outer != null) return outer + "+" + name;
            return space.Length == 0 ? name : space + "." + name;
        }
    }
}
