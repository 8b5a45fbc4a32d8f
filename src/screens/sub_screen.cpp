// Shared steps of the screens over the main menu.
#include "screens/sub_screen.h"

#include "screens/main_menu.h"

namespace trakvolt {

void EnterSubScreen(TScreenHost& host, int game_state, int button_count, int first_nav,
                    int last_nav, int hovered) {
  TMenus& m = host.Menus();
  host.State() = game_state;
  m.ButtonCount = button_count;
  m.FirstNavButton = first_nav;
  m.LastNavButton = last_nav;
  m.HoveredButton = hovered;
  if (m.MenuCaption != nullptr) m.MenuCaption->Visible = false;
  host.FrameTimer().SetEnabled(true);
}

TCaptionSprite& NewScreenPanel(TScreenHost& host, std::string_view image_name) {
  TCaptionSprite& panel = host.NewCaption(image_name);
  panel.X = 14;
  panel.Y = 115;
  panel.SetZ(2);
  return panel;
}

bool HighlightLeftScreen(const TMenus& m, int own_button) {
  const int h = m.HoveredButton;
  return h != 0 && h != own_button && (h < m.FirstNavButton || h > m.LastNavButton);
}

void ReturnToMenuIfLeft(TScreenHost& host, int own_button, void (*close)(TScreenHost&)) {
  if (!HighlightLeftScreen(host.Menus(), own_button)) return;
  close(host);
  BuildMainMenu(host, false, menu_return::Start);
}

void FreeButtons(TMenus& menus, int first, int last) {
  for (int i = first; i <= last; ++i) {
    auto& slot = menus.Buttons[static_cast<std::size_t>(i)];
    if (slot != nullptr) slot->Free();
    slot = nullptr;
  }
}

void FreeCaption(TCaptionSprite*& caption) {
  if (caption != nullptr) caption->Free();
  caption = nullptr;
}

void CloseScreenPanel(TScreenHost& host, TCaptionSprite*& panel, int first, int last) {
  FreeCaption(panel);
  FreeButtons(host.Menus(), first, last);
  host.FrameTimer().SetEnabled(false);
}

}  // namespace trakvolt
