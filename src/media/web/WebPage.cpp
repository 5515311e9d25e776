#include "media/web/WebPage.h"

#include <emscripten.h>

// clang-format off: the JavaScript inside is not C++
// Each call goes to the page's object `Module.page`, made before the game starts.
EM_JS(void, anagura_page_show, (const uint8_t* rgba, int width, int height),
      { Module.page.show(HEAPU8, rgba, width, height); });
EM_JS(void, anagura_page_frame_work, (double millis, double uploadMillis), { Module.page.frameWork(millis, uploadMillis); });
EM_ASYNC_JS(void, anagura_page_await_frame, (), { await Module.page.nextFrame(); });
EM_JS(int, anagura_page_scale, (), { return Module.page.shownScale(); });
EM_JS(int, anagura_page_visible, (), { return document.hidden ? 0 : 1; });
EM_JS(int, anagura_page_fullscreen, (int on), { return Module.page.setFullscreen(!!on) ? 1 : 0; });
EM_JS(void, anagura_page_ended, (), { Module.page.ended(); });
EM_JS(int, anagura_page_is_fullscreen, (), { return document.fullscreenElement ? 1 : 0; });
EM_JS(void, anagura_page_gesture, (), { Module.page.gesture(); });
EM_JS(int, anagura_page_open_sound, (int rate), { return Module.page.sound.open(rate) ? 1 : 0; });
EM_JS(void, anagura_page_close_sound, (), { Module.page.sound.close(); });
EM_JS(int, anagura_page_pending, (const char* path), { return Module.page.pending(UTF8ToString(path)) ? 1 : 0; });
EM_JS(void, anagura_page_loading, (int shown), { Module.page.showLoading(!!shown); });
EM_JS(void, anagura_page_overlay, (const char* lines, int panel), { Module.page.overlay(UTF8ToString(lines), !!panel); });
// clang-format on

namespace media::webpage {

void ShowPicture(const uint8_t* rgba, int width, int height) { anagura_page_show(rgba, width, height); }
void NoteFrameWork(double millis, double uploadMillis) { anagura_page_frame_work(millis, uploadMillis); }
void AwaitAnimationFrame() { anagura_page_await_frame(); }
int ShownScale() { return anagura_page_scale(); }
bool Visible() { return anagura_page_visible() != 0; }
bool SetFullscreen(bool fullscreen) { return anagura_page_fullscreen(fullscreen ? 1 : 0) != 0; }
void Ended() { anagura_page_ended(); }
bool Fullscreen() { return anagura_page_is_fullscreen() != 0; }
void PlayerGesture() { anagura_page_gesture(); }
bool OpenSound(int rate) { return anagura_page_open_sound(rate) != 0; }
void CloseSound() { anagura_page_close_sound(); }
bool DataFilePending(const char* path) { return anagura_page_pending(path) != 0; }
void ShowLoading(bool shown) { anagura_page_loading(shown ? 1 : 0); }
void ShowOverlay(const char* lines, bool panel) { anagura_page_overlay(lines, panel ? 1 : 0); }

}  // namespace media::webpage
