/* Loads each DLL named on its command line by name, the way a program
   that does not restrict its DLL search does. The planting scenarios run it
   beside their planted DLLs to show that those would be taken. */
#include <windows.h>

int main(int argc, char** argv) {
  int loaded = 0;
  for (int i = 1; i < argc; ++i)
    if (LoadLibraryA(argv[i])) ++loaded;
  return loaded == argc - 1 ? 0 : 1;
}
