#pragma once
// The package folder as Windows sees it: names without regard to letter
// case, '\' or '/' between them, doubled separators harmless.
#include <string>

enum class FsEntry { Missing, File, Folder };

// Resolves relativePath below hostFolder, matching every name without
// regard to case. Sets *hostPath (when found) and says what is there.
FsEntry ResolveInPackage(const std::string& hostFolder, const std::string& relativePath,
                         std::string* hostPath = nullptr);
