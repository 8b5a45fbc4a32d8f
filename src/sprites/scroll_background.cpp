// The scrolling road and menu background.
#include "sprites/scroll_background.h"

namespace trakvolt {

TScrollBackground::TScrollBackground(ParentLink parent, const TImageSource& images,
                                     std::string_view image_name, const double& road_speed)
    : TBackgroundSprite(parent), road_speed_(&road_speed) {
  SetMapSize(1, 1);
  SetImage(&images.Find(image_name));
  X = 0;
  Y = 0;
  SetZ(1);
  Endless = true;
}

void TScrollBackground::DoMove(int) {
  Y += *road_speed_;
  if (Y > kScrollWrapBelow) Y -= kScrollWrapStep;
}

}  // namespace trakvolt
