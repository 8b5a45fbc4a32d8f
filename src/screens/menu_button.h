// TMenuButton: a clickable picture of the menus, showing one look when highlighted and another
// otherwise.
#pragma once

#include <string>
#include <string_view>

#include "base/image.h"
#include "sprites/image_sprite.h"

namespace trakvolt {

class TMenuButton : public TImageSprite {
 public:
  // Shows frame `inactive_frame` of `inactive_name` from `images` at (x, y) with Z 4, not
  // highlighted. Both looks must share one frame size; a missing name raises the list's
  // "Image '%s' not found" and no button is made.
  TMenuButton(ParentLink parent, const TImageSource& images, std::string_view active_name,
              std::string_view inactive_name, int active_frame, int inactive_frame, double x,
              double y);

  // The lit look: the active picture at the active frame (looked up by name every time).
  void Activate();
  // The plain look: the inactive picture at the inactive frame.
  void Deactivate();
  // Moving is the image sprite's animation step, which never changes a button's still frame.

  std::string ActiveImageName;
  std::string InactiveImageName;
  int ActiveFrame = 0;
  int InactiveFrame = 0;
  // Set and cleared by the per-frame highlight, so its sound plays once per arrival.
  bool Highlighted = false;

 private:
  // Only the picture changes: size and frame count stay those of the inactive look.
  void Show(const std::string& name, int frame);

  const TImageSource& images_;
};

}  // namespace trakvolt
