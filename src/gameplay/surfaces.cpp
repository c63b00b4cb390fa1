#include "gameplay/surfaces.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "gameplay/picture_resources.h"

namespace {

// A built-in picture by name. A missing or broken one leaves its surface blank and says so
// once on standard error: the game still runs, and the fault is plain to see.
ImagePtr LoadPicture(const std::string& name) {
  std::string error;
  ImagePtr picture = LoadBmp(PictureResource(name), &error);
  if (!picture) std::fprintf(stderr, "fumbo2: picture %s: %s\n", name.c_str(), error.c_str());
  return picture;
}

std::unique_ptr<Surface> MakeSurface(int width, int height, const std::string& picture) {
  auto surface = std::make_unique<Surface>(width, height);
  if (!picture.empty()) surface->SetPicture(LoadPicture(picture));
  return surface;
}

// Both members of a sheet: "<name>_0" the image, "<name>_1" the mask, each in a box of its
// own size (a box may be narrower or wider than its picture).
std::unique_ptr<Sheet> MakeSheet(const std::string& name, int width, int height, int maskHeight) {
  auto sheet = std::make_unique<Sheet>(Sheet{Surface(width, height), Surface(width, maskHeight)});
  sheet->image.SetPicture(LoadPicture(name + "_0"));
  sheet->mask.SetPicture(LoadPicture(name + "_1"));
  return sheet;
}

// The hidden picture store, made whole on the first use of any of its surfaces.
struct PictureStore {
  std::unique_ptr<Surface> backP, backPSub, optBackP;
  std::unique_ptr<Sheet> blP, fontP1, fontP2, fontP3, fontP4, fontP5, cmbP, cmbNP, gameOverP;
  std::array<std::unique_ptr<Sheet>, 6> captions;

  PictureStore() {
    backP = MakeSurface(380, 400, "");
    backP->SetPicture(GameBackgroundPicture());
    backP->FillStyle = 1;
    backP->DrawMode = 13;
    backP->Font = FontFace::Gothic;
    backP->FontSize = 12;
    backP->FontBold = true;
    backPSub = MakeSurface(380, 400, "");
    optBackP = MakeSurface(380, 400, "OptionBackground");
    optBackP->Font = FontFace::Terminal;
    optBackP->FontSize = 13.5;
    blP = MakeSheet("BlP", 110, 20, 160);
    fontP1 = MakeSheet("FontP1", 150, 20, 20);
    fontP2 = MakeSheet("FontP2", 150, 20, 20);
    fontP3 = MakeSheet("FontP3", 100, 10, 10);
    fontP4 = MakeSheet("FontP4", 100, 20, 20);
    fontP5 = MakeSheet("FontP5", 200, 20, 20);
    cmbP = MakeSheet("CmbP", 120, 40, 40);
    cmbNP = MakeSheet("CmbNP", 300, 240, 240);
    gameOverP = MakeSheet("GameOverP", 260, 50, 50);
    for (std::size_t i = 0; i < captions.size(); ++i)
      captions[i] = MakeSheet("Caption" + std::to_string(i + 1), 100, 20, 20);
  }
};

std::unique_ptr<Surface> mainPicture;
std::unique_ptr<PictureStore> picF;
std::array<std::unique_ptr<Surface>, 2> splash;
ImagePtr gameBackground;
ImagePtr icon;

PictureStore& PicF() {
  if (!picF) picF = std::make_unique<PictureStore>();
  return *picF;
}

}  // namespace

Surface& Main() {
  if (!mainPicture) {
    mainPicture = std::make_unique<Surface>(380, 400);
    mainPicture->Font = FontFace::Terminal;
    mainPicture->FontSize = 13.5;
  }
  return *mainPicture;
}

Surface& BackP() { return *PicF().backP; }
Surface& BackPSub() { return *PicF().backPSub; }
Surface& OptBackP() { return *PicF().optBackP; }
Sheet& BlP() { return *PicF().blP; }
Sheet& FontP1() { return *PicF().fontP1; }
Sheet& FontP2() { return *PicF().fontP2; }
Sheet& FontP3() { return *PicF().fontP3; }
Sheet& FontP4() { return *PicF().fontP4; }
Sheet& FontP5() { return *PicF().fontP5; }
Sheet& CmbP() { return *PicF().cmbP; }
Sheet& CmbNP() { return *PicF().cmbNP; }
Sheet& GameOverP() { return *PicF().gameOverP; }
Sheet& Caption1() { return *PicF().captions[0]; }
Sheet& Caption2() { return *PicF().captions[1]; }
Sheet& Caption3() { return *PicF().captions[2]; }
Sheet& Caption4() { return *PicF().captions[3]; }
Sheet& Caption5() { return *PicF().captions[4]; }
Sheet& Caption6() { return *PicF().captions[5]; }

ImagePtr GameBackgroundPicture() {
  if (!gameBackground) gameBackground = LoadPicture("GameBackground");
  return gameBackground;
}

ImagePtr IconPicture() {
  if (!icon) icon = LoadPicture("Icon");
  return icon;
}

Surface& AD(int index) {
  if (!splash[0]) {
    splash[0] = MakeSurface(200, 70, "");
    splash[1] = MakeSurface(200, 70, "SplashBanner");
  }
  return *splash[index == 0 ? 0 : 1];
}

void UnloadAD() {
  splash[0].reset();
  splash[1].reset();
}

void ResetSurfaces() {
  mainPicture.reset();
  picF.reset();
  UnloadAD();
}
