#include "tools/setup-check/package_fs.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

#include "tools/setup-check/profile_file.h"

namespace {

FsEntry Kind(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FsEntry::Missing;
  return S_ISDIR(st.st_mode) ? FsEntry::Folder : FsEntry::File;
}

// The entry of folder whose name equals name without regard to case; an
// exact match first.
bool FindEntry(const std::string& folder, const std::string& name, std::string* found) {
  if (Kind(folder + "/" + name) != FsEntry::Missing) {
    *found = name;
    return true;
  }
  DIR* d = opendir(folder.empty() ? "/" : folder.c_str());
  if (!d) return false;
  bool ok = false;
  while (struct dirent* e = readdir(d)) {
    if (ProfileFile::NamesEqual(e->d_name, name)) {
      *found = e->d_name;
      ok = true;
      break;
    }
  }
  closedir(d);
  return ok;
}

}  // namespace

FsEntry ResolveInPackage(const std::string& hostFolder, const std::string& relativePath,
                         std::string* hostPath) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : relativePath + "\\") {
    if (c == '\\' || c == '/') {
      if (!part.empty() && part != ".") parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  std::string path = hostFolder;
  for (const std::string& p : parts) {
    std::string name;
    if (p == "..") {
      name = p;
    } else if (!FindEntry(path, p, &name)) {
      return FsEntry::Missing;
    }
    path += "/" + name;
  }
  FsEntry kind = Kind(path);
  if (kind != FsEntry::Missing && hostPath) *hostPath = path;
  return kind;
}
