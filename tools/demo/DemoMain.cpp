// demo_imageset <parent folder> [photograph folder] [width height]
// Builds the demo image set into <parent>/demoset and its own-images folder <parent>/ownimgs.
#include <cstdio>
#include <cstdlib>

#include "tools/demo/DemoImageSet.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc == 4 || argc > 5) {
    std::fprintf(stderr, "usage: %s <parent folder> [photograph folder] [width height]\n", argv[0]);
    return 2;
  }
  demoset::Options options;
  if (argc >= 3) options.photoFolder = argv[2];
  if (argc == 5) {
    options.width = std::atoi(argv[3]);
    options.height = std::atoi(argv[4]);
    if (options.width < 16 || options.height < 16) {
      std::fprintf(stderr, "demo_imageset: width and height must be at least 16\n");
      return 2;
    }
  }
  const std::string failure = demoset::BuildDemoImageSet(argv[1], options);
  if (!failure.empty()) {
    std::fprintf(stderr, "demo_imageset: %s\n", failure.c_str());
    return 1;
  }
  std::printf("demo_imageset: built %s/%s\n", argv[1], demoset::kDataFolderName);
  return 0;
}
