#pragma once

// The process-wide stack of saved OpenGL contexts. Every handler that calls
// into the application makes its own window's context current with Push and
// restores the one that was current before with Pop, so several windows can
// each draw with their own context.

#include <array>

namespace quarn::fw {

// A context and the drawable it is current on (SDL_GLContext, SDL_Window*);
// both null means "no context current".
struct ContextPair {
  void* context = nullptr;
  void* window = nullptr;

  friend bool operator==(const ContextPair&, const ContextPair&) = default;
};

// What the stack needs from the platform; replaced by a fake in tests.
class ContextBackend {
 public:
  virtual ~ContextBackend() = default;
  virtual ContextPair Current() const = 0;
  // Makes pair current (a null pair releases the current context); true on success.
  virtual bool MakeCurrent(const ContextPair& pair) = 0;
};

class ContextStack {
 public:
  static constexpr int kCapacity = 16;

  explicit ContextStack(ContextBackend& backend) : backend_(backend) {}

  // Saves the current pair (only while the depth is below kCapacity; deeper
  // pushes trace an overflow but still count), then makes target current.
  // Returns whether that succeeded. Every Push needs one Pop, also a failed one.
  bool Push(const ContextPair& target);

  // Goes back one level and makes the pair saved there current again; a level
  // beyond the capacity has nothing saved, so no context is current after it.
  void Pop();

  // Clears every saved entry of a context that is being deleted, so that a
  // later Pop releases the context instead of reviving a dangling one.
  void Forget(void* context);

  int Depth() const { return depth_; }

 private:
  ContextBackend& backend_;
  std::array<ContextPair, kCapacity> saved_{};
  int depth_ = 0;
};

// The one stack of the process, over SDL.
ContextStack& TheContextStack();

}  // namespace quarn::fw
