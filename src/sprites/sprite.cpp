// The sprite tree: ownership, Z ordering and the move, draw and collision walks.
#include "sprites/sprite.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/game_error.h"
#include "sprites/sprite_engine.h"

namespace trakvolt {

// Registers a sprite as "a walk stands here" on the root for the lifetime of one walk step.
// The destructor of a sprite that is freed meanwhile clears `sprite`, which the walk checks
// after every callback.
struct TSprite::WalkMark {
  explicit WalkMark(TSprite& s) : sprite(&s), root(s.root_), outer(root->walks_) {
    root->walks_ = this;
  }
  ~WalkMark() { root->walks_ = outer; }
  WalkMark(const WalkMark&) = delete;
  WalkMark& operator=(const WalkMark&) = delete;
  bool Alive() const { return sprite != nullptr; }

  TSprite* sprite;
  TSprite* root;
  WalkMark* outer;
};

// The state of one collision query. It lives on the stack of the query, so a DoCollision that
// runs a query of its own cannot disturb the one that called it.
struct TSprite::CollisionQuery {
  TSprite* tester = nullptr;
  const WalkMark* tester_mark = nullptr;
  Rect rect{};
  int count = 0;
  bool done = false;
};

int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int>::min();
  constexpr double hi = std::numeric_limits<int>::max();
  if (v <= lo) return std::numeric_limits<int>::min();
  if (v >= hi) return std::numeric_limits<int>::max();
  return static_cast<int>(v);  // converts toward zero
}

TSprite::TSprite() : root_(this) {}

TSprite::TSprite(ParentLink link) : parent_(&link.Parent()) {
  engine_ = parent_->engine_ != nullptr ? parent_->engine_ : static_cast<TSpriteEngine*>(parent_);
  root_ = parent_->root_;
}

TSprite::~TSprite() {
  Clear();
  for (WalkMark* m = root_->walks_; m != nullptr; m = m->outer)
    if (m->sprite == this) m->sprite = nullptr;
}

void TSprite::Adopt(std::unique_ptr<TSprite> child) {
  TSprite& c = *child;
  children_.push_back(std::move(child));
  InsertIntoDrawList(c);
  c.attached_ = true;
}

std::unique_ptr<TSprite> TSprite::Release(TSprite& child) {
  const auto it =
      std::find_if(children_.begin(), children_.end(),
                   [&](const std::unique_ptr<TSprite>& p) { return p.get() == &child; });
  if (it == children_.end()) return nullptr;
  std::unique_ptr<TSprite> owned = std::move(*it);
  children_.erase(it);
  RemoveFromDrawList(child);
  owned->attached_ = false;
  if (children_.empty()) {
    // A sprite without children keeps no list memory.
    children_.shrink_to_fit();
    draw_list_.shrink_to_fit();
  }
  return owned;
}

void TSprite::InsertIntoDrawList(TSprite& child) {
  // In front of every sibling with the same Z: among equals, the latest is drawn underneath.
  const auto at = std::lower_bound(draw_list_.begin(), draw_list_.end(), child.z_,
                                   [](const TSprite* s, int z) { return s->z_ < z; });
  draw_list_.insert(at, &child);
}

void TSprite::RemoveFromDrawList(TSprite& child) {
  const auto it = std::find(draw_list_.begin(), draw_list_.end(), &child);
  if (it != draw_list_.end()) draw_list_.erase(it);
}

void TSprite::Free() {
  if (parent_ == nullptr)
    throw GameError("The sprite engine root is freed only with its component");
  if (!attached_) throw GameError("A sprite cannot be freed before it has been created");
  Clear();
  // Destroyed when `self` goes out of scope; nothing below may touch this sprite.
  std::unique_ptr<TSprite> self = parent_->Release(*this);
}

void TSprite::Clear() {
  while (!children_.empty()) children_.back()->Free();
}

TSprite& TSprite::Child(int index) const {
  if (index < 0 || index >= Count())
    throw GameError(Format("Index of the list exceeds the range. (%d)", index));
  return *children_[static_cast<std::size_t>(index)];
}

void TSprite::SetZ(int value) {
  if (value == z_) return;
  if (parent_ != nullptr && attached_) {
    parent_->RemoveFromDrawList(*this);
    z_ = value;
    parent_->InsertIntoDrawList(*this);
  } else {
    z_ = value;
  }
}

double TSprite::WorldX() const { return parent_ != nullptr ? X + parent_->WorldX() : X; }
double TSprite::WorldY() const { return parent_ != nullptr ? Y + parent_->WorldY() : Y; }

Rect TSprite::BoundsRect() const {
  const int left = TruncToInt(WorldX());
  const int top = TruncToInt(WorldY());
  // Widened so that a sprite at the far end of the int range cannot overflow its right edge.
  const auto clamp = [](long long v) {
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  };
  return Rect{left, top, clamp(static_cast<long long>(left) + Width),
              clamp(static_cast<long long>(top) + Height)};
}

const TSpriteEngine& TSprite::Root() const { return *static_cast<const TSpriteEngine*>(root_); }

void TSprite::Move(int move_count) {
  if (!CanMove) return;
  WalkMark mark(*this);
  DoMove(move_count);
  if (!mark.Alive()) return;
  const std::size_t n = children_.size();
  for (std::size_t i = 0; mark.Alive() && i < n && i < children_.size(); ++i)
    children_[i]->Move(move_count);
}

void TSprite::Draw() {
  if (!Visible) return;
  const TSpriteEngine& root = Root();
  if (!root.HasSurface()) return;
  WalkMark mark(*this);
  if (engine_ != nullptr && GetBoundsRect().Overlaps(root.SurfaceRect())) DoDraw();
  if (!mark.Alive()) return;
  const std::size_t n = draw_list_.size();
  for (std::size_t i = 0; mark.Alive() && i < n && i < draw_list_.size(); ++i)
    draw_list_[i]->Draw();
}

int TSprite::Collision() {
  if (engine_ == nullptr || !CanCollide) return 0;
  WalkMark mark(*this);
  CollisionQuery query;
  query.tester = this;
  query.tester_mark = &mark;
  query.rect = GetBoundsRect();
  TSprite& root = *root_;
  const std::size_t n = root.children_.size();
  for (std::size_t i = 0; !query.done && i < n && i < root.children_.size(); ++i)
    root.children_[i]->TestWalk(query);
  return query.count;
}

void TSprite::TestWalk(CollisionQuery& query) {
  if (!CanCollide) return;
  WalkMark mark(*this);
  if (this != query.tester && GetBoundsRect().Overlaps(query.rect) &&
      query.tester->TestCollision(*this) && TestCollision(*query.tester)) {
    ++query.count;
    query.tester->DoCollision(*this, query.done);
    // A tester that freed itself or stopped colliding ends the query.
    if (!query.tester_mark->Alive() || !query.tester->CanCollide) query.done = true;
  }
  if (query.done || !mark.Alive()) return;
  const std::size_t n = children_.size();
  for (std::size_t i = 0; !query.done && mark.Alive() && i < n && i < children_.size(); ++i)
    children_[i]->TestWalk(query);
}

void TSprite::DoCollision(TSprite&, bool&) {}
void TSprite::DoDraw() {}
void TSprite::DoMove(int) {}
Rect TSprite::GetBoundsRect() const { return BoundsRect(); }
bool TSprite::TestCollision(const TSprite&) const { return true; }

}  // namespace trakvolt
