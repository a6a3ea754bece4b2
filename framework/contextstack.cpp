#include "contextstack.h"

#include <SDL2/SDL.h>

#include "format.h"

namespace quarn::fw {

bool ContextStack::Push(const ContextPair& target) {
  if (depth_ < kCapacity) {
    saved_[depth_] = backend_.Current();
  } else {
    Trace("context stack overflow\n");
  }
  ++depth_;
  return backend_.MakeCurrent(target);
}

void ContextStack::Pop() {
  if (depth_ == 0) return;
  --depth_;
  backend_.MakeCurrent(depth_ < kCapacity ? saved_[depth_] : ContextPair{});
}

void ContextStack::Forget(void* context) {
  for (ContextPair& entry : saved_) {
    if (entry.context == context) entry = ContextPair{};
  }
}

namespace {

class SdlContextBackend final : public ContextBackend {
 public:
  ContextPair Current() const override {
    return {SDL_GL_GetCurrentContext(), SDL_GL_GetCurrentWindow()};
  }

  bool MakeCurrent(const ContextPair& pair) override {
    if (pair.context == nullptr) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
    if (pair.window == nullptr) return false;
    return SDL_GL_MakeCurrent(static_cast<SDL_Window*>(pair.window), pair.context) == 0;
  }
};

}  // namespace

// Never destroyed: windows that are static objects of the program restore
// contexts from their destructors, after function-local statics are gone.
ContextStack& TheContextStack() {
  static ContextStack* const stack = new ContextStack(*new SdlContextBackend);
  return *stack;
}

}  // namespace quarn::fw
