// TSprite: the node of the sprite tree that every screen is built from, and its three walks.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/surface.h"

namespace trakvolt {

class TSpriteEngine;

// How the tree is owned and walked
// --------------------------------
// * A parent owns its children: `Children()` holds them through std::unique_ptr in the order
//   they joined; `DrawList()` holds the same sprites, unowned, sorted by ascending Z. Both
//   lists are empty (and hold no memory) while a sprite has no children.
// * Sprites are made only by their parent: `parent.Add<T>(args...)` constructs
//   `T(ParentLink, args...)` and then appends the new sprite to the parent's lists. Only
//   TSprite can make a ParentLink, so a sprite can neither live outside a tree nor be created
//   twice. If T's constructor throws (an image name that is not in its list), nothing joins
//   the tree. The reference Add returns stays valid until the sprite or an ancestor is freed.
// * `Free()` frees the sprite's children from the last to the first, then takes the sprite out
//   of its parent's lists and destroys it. Destroying a parent, including the engine root,
//   frees its children the same way. There is no deferred deletion.
// * The walks (Move, Draw, Collision) visit children by position, with the count taken when
//   the loop starts, and stop at the current end of the list. A callback may therefore create
//   sprites (appended to their parent) or free them (later siblings shift down one place) in
//   the middle of a walk. Each sprite a walk stands on is registered with the root while the
//   walk is inside it; a sprite that is freed meanwhile is struck from that register, and the
//   walk returns from it instead of touching freed memory.
class TSprite {
 public:
  // The right to construct a sprite under `parent`; handed out only by Add.
  class ParentLink {
   public:
    TSprite& Parent() const { return parent_; }

   private:
    friend class TSprite;
    explicit ParentLink(TSprite& parent) : parent_(parent) {}
    TSprite& parent_;
  };

  explicit TSprite(ParentLink parent);
  virtual ~TSprite();
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  // Creates a T as the last child of this sprite and returns it.
  template <class T, class... Args>
  T& Add(Args&&... args) {
    static_assert(std::is_base_of_v<TSprite, T>, "only sprites join the sprite tree");
    auto owned = std::make_unique<T>(ParentLink(*this), std::forward<Args>(args)...);
    T& sprite = *owned;
    Adopt(std::move(owned));
    return sprite;
  }
  // Frees the children (last to first), unlinks this sprite and destroys it. The root is
  // freed only with its engine component.
  void Free();
  // Frees all children, last to first.
  void Clear();

  // The root of the tree; none for the root itself.
  TSpriteEngine* Engine() const { return engine_; }
  // The parent; the root for top-level sprites, none for the root.
  TSprite* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(children_.size()); }
  // Child `index` in joining order; an index outside the children raises a GameError.
  TSprite& Child(int index) const;
  const std::vector<std::unique_ptr<TSprite>>& Children() const { return children_; }
  const std::vector<TSprite*>& DrawList() const { return draw_list_; }

  int Z() const { return z_; }
  // Stores the value and, when it changed, moves the sprite in its parent's DrawList in front
  // of all siblings with the same Z (so it is drawn underneath them).
  void SetZ(int value);

  double WorldX() const;
  double WorldY() const;
  // The integer rectangle at (trunc WorldX, trunc WorldY) of size Width x Height.
  Rect BoundsRect() const;

  // Moves this sprite and its subtree (nothing when CanMove is false).
  void Move(int move_count);
  // Draws this sprite and its subtree in Z order onto the engine's surface (nothing when
  // invisible or when the engine has no surface); sprites off the surface are skipped but
  // their children are still visited.
  void Draw();
  // Runs the collision query of this sprite against the whole tree, calling DoCollision for
  // every hit, and returns the number of hits.
  int Collision();

  virtual void DoCollision(TSprite& other, bool& done);
  virtual void DoDraw();
  virtual void DoMove(int move_count);
  virtual Rect GetBoundsRect() const;
  virtual bool TestCollision(const TSprite& other) const;

  bool CanCollide = true;
  bool CanMove = true;
  bool Visible = true;
  double X = 0;
  double Y = 0;
  int Width = 0;
  int Height = 0;

 private:
  friend class TSpriteEngine;
  // The root: no parent, no engine.
  TSprite();

  struct WalkMark;
  struct CollisionQuery;

  void Adopt(std::unique_ptr<TSprite> child);
  std::unique_ptr<TSprite> Release(TSprite& child);
  void InsertIntoDrawList(TSprite& child);
  void RemoveFromDrawList(TSprite& child);
  void TestWalk(CollisionQuery& query);
  const TSpriteEngine& Root() const;

  TSprite* parent_ = nullptr;
  TSpriteEngine* engine_ = nullptr;
  TSprite* root_ = nullptr;
  bool attached_ = false;  // in the parent's lists (false while the constructor runs)
  int z_ = 0;
  std::vector<std::unique_ptr<TSprite>> children_;
  std::vector<TSprite*> draw_list_;
  WalkMark* walks_ = nullptr;  // on the root: the sprites the running walks stand on
};

// trunc(v) as an int, saturating at the ends of the int range (NaN gives 0), so that a sprite
// flung far off the screen still yields a well-defined rectangle.
int TruncToInt(double v);

}  // namespace trakvolt
