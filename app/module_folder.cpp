#include "app/module_folder.h"

PathText FolderOfModulePath(const PathText& modulePath) {
  PathText folder;
  size_t cut = modulePath.size();
  while (cut > 0 && modulePath[cut - 1] != '\\' && modulePath[cut - 1] != '/') --cut;
  if (cut == 0) return folder;  // no separator at all
  folder.AssignBytes(modulePath.c_str(), cut - 1);
  return folder;
}
