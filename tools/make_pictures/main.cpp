// Draws every picture of the game and writes them as 24-bit BMP files into a folder
// (assets/pictures of the source tree unless another is given).
#include <cstdio>
#include <string>

#include "artwork.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : FUMBO_PICTURES_DIR;
  int failures = 0;
  for (const auto& group : {DrawScenes(), DrawSheets()})
    for (const NamedPicture& picture : group) {
      const std::string path = folder + "/" + picture.name + ".bmp";
      std::string error;
      if (!SaveBmpFile(picture.image, path, &error)) {
        std::fprintf(stderr, "make_pictures: %s: %s\n", path.c_str(), error.c_str());
        ++failures;
      } else {
        std::printf("%s %dx%d\n", path.c_str(), picture.image.width, picture.image.height);
      }
    }
  return failures == 0 ? 0 : 1;
}
