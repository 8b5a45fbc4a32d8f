// A sprite for the tests that records what the walks do to it and runs scripted reactions.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sprites/sprite.h"

namespace trakvolt::testing {

struct WalkLog {
  std::vector<std::string> moved, drawn, freed, hits;
};

class Actor : public TSprite {
 public:
  Actor(ParentLink parent, WalkLog& log, std::string actor_name, Rect box = Rect{})
      : TSprite(parent), name(std::move(actor_name)), log_(log) {
    X = box.left;
    Y = box.top;
    Width = box.Width();
    Height = box.Height();
  }
  ~Actor() override { log_.freed.push_back(name); }

  void DoMove(int) override {
    log_.moved.push_back(name);
    if (on_move) on_move(*this);
  }
  void DoDraw() override { log_.drawn.push_back(name); }
  bool TestCollision(const TSprite&) const override { return solid; }
  void DoCollision(TSprite& other, bool& done) override {
    const auto* actor = dynamic_cast<const Actor*>(&other);
    log_.hits.push_back(actor != nullptr ? actor->name : "?");
    if (on_hit) on_hit(*this, other, done);
  }

  std::string name;
  bool solid = true;  // what TestCollision answers
  std::function<void(Actor&)> on_move;
  std::function<void(Actor&, TSprite&, bool&)> on_hit;

 private:
  WalkLog& log_;
};

// The actor called `name` anywhere below `top`, or nullptr.
inline Actor* FindActor(const TSprite& top, const std::string& name) {
  for (const auto& child : top.Children()) {
    if (auto* a = dynamic_cast<Actor*>(child.get()); a != nullptr && a->name == name) return a;
    if (Actor* found = FindActor(*child, name)) return found;
  }
  return nullptr;
}

}  // namespace trakvolt::testing
