// Button highlight and keyboard cursor.
#include "screens/button_navigation.h"

namespace trakvolt {
namespace {

// One step per press: `back` is tested first, `forward` second; holding keeps the cursor still.
void Navigate(TScreenHost& host, bool wrap, InputState back_key, InputState forward_key,
              bool back_first) {
  TMenus& m = host.Menus();
  const bool back = host.Input().IsOn(back_key);
  const bool forward = host.Input().IsOn(forward_key);
  auto step_back = [&] {
    if (back && m.NavKeyArmed) PreviousButton(m, wrap);
  };
  auto step_forward = [&] {
    if (forward && m.NavKeyArmed) NextButton(m, wrap);
  };
  if (back_first) {
    step_back();
    step_forward();
  } else {
    step_forward();
    step_back();
  }
  if (!back && !forward) m.NavKeyArmed = true;
}

}  // namespace

void FindHoveredButton(TMenus& menus, int mouse_x, int mouse_y) {
  const double mx = mouse_x, my = mouse_y;
  for (int i = 1; i <= menus.ButtonCount; ++i) {
    const TMenuButton* b = menus.Button(i);
    if (b == nullptr) continue;
    if (b->X <= mx && mx <= b->X + b->Width && b->Y <= my && my <= b->Y + b->Height) {
      menus.HoveredButton = i;
      return;
    }
  }
}

void UpdateButtonHighlight(TScreenHost& host) {
  TMenus& m = host.Menus();
  for (int i = 1; i <= m.ButtonCount; ++i) {
    if (i == m.HoveredButton) continue;
    if (TMenuButton* b = m.Button(i)) {
      b->Deactivate();
      b->Highlighted = false;
    }
  }
  TMenuButton* hovered = m.Button(m.HoveredButton);
  if (hovered != nullptr && !hovered->Highlighted) {
    hovered->Activate();
    hovered->Highlighted = true;
    host.PlaySound("Button_Activated");
  }
}

void KeepMainButtonLit(TMenus& menus, int index) {
  if (TMenuButton* b = menus.Button(index)) b->Activate();
}

void NextButton(TMenus& m, bool wrap) {
  m.NavAtEdge = false;
  if (wrap)
    m.HoveredButton = m.HoveredButton == m.LastNavButton ? m.FirstNavButton : m.HoveredButton + 1;
  else if (m.HoveredButton < m.LastNavButton)
    ++m.HoveredButton;
  else
    m.NavAtEdge = true;
  m.NavKeyArmed = false;
}

void PreviousButton(TMenus& m, bool wrap) {
  m.NavAtEdge = false;
  if (wrap)
    m.HoveredButton = m.HoveredButton == m.FirstNavButton ? m.LastNavButton : m.HoveredButton - 1;
  else if (m.HoveredButton > m.FirstNavButton)
    --m.HoveredButton;
  else
    m.NavAtEdge = true;
  m.NavKeyArmed = false;
}

void NavigateUpDown(TScreenHost& host, bool wrap) {
  Navigate(host, wrap, InputState::Up, InputState::Down, true);
}

void NavigateLeftRight(TScreenHost& host, bool wrap) {
  Navigate(host, wrap, InputState::Left, InputState::Right, false);
}

}  // namespace trakvolt
