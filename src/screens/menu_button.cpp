// Menu buttons: creation and the two looks.
#include "screens/menu_button.h"

namespace trakvolt {

TMenuButton::TMenuButton(ParentLink parent, const TImageSource& images,
                         std::string_view active_name, std::string_view inactive_name,
                         int active_frame, int inactive_frame, double x, double y)
    : TImageSprite(parent, &images.Find(inactive_name)),
      ActiveImageName(active_name),
      InactiveImageName(inactive_name),
      ActiveFrame(active_frame),
      InactiveFrame(inactive_frame),
      images_(images) {
  FrameCount = Image()->FrameCount();
  FrameLooped = true;
  FrameSpeed = 0;
  FramePos = inactive_frame;
  X = x;
  Y = y;
  SetZ(4);
}

void TMenuButton::Show(const std::string& name, int frame) {
  const int width = Width, height = Height;
  SetImage(&images_.Find(name));
  Width = width;
  Height = height;
  FramePos = frame;
}

void TMenuButton::Activate() { Show(ActiveImageName, ActiveFrame); }
void TMenuButton::Deactivate() { Show(InactiveImageName, InactiveFrame); }

}  // namespace trakvolt
