// The yardstick for the game's start-up: the least an SDL program does to open a window like
// the game's (800 x 600, same title) and show one frame. By default it presents through SDL's
// default renderer, as most SDL programs do; with "surface" through the window's own pixels,
// told not to try OpenGL first (the least any SDL program can do). It ends the moment the
// frame is shown, as the game does with TRAKVOLT_EXIT_AFTER_FIRST_FRAME.
#include <SDL.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  const bool surface = argc > 1 && std::strcmp(argv[1], "surface") == 0;
  if (surface) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window =
      SDL_CreateWindow("Гонкострель", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600, 0);
  if (!window) return 1;
  if (surface) {
    SDL_Surface* pixels = SDL_GetWindowSurface(window);
    if (!pixels) return 1;
    SDL_FillRect(pixels, nullptr, SDL_MapRGB(pixels->format, 0, 0, 0));
    SDL_UpdateWindowSurface(window);
  } else {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) return 1;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
  }
  std::_Exit(0);
}
