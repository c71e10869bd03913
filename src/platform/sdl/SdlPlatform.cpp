#include "platform/sdl/SdlPlatform.h"

#include "platform/DialogView.h"
#include "platform/InputDialogView.h"
#include "platform/MenuView.h"
#include "platform/PlatformBase.h"
#include "platform/fonts/UiText.h"
#include "util/escape.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace orv {

namespace {

// The strip's colour where the menu bar does not reach (a letterboxed window).
constexpr Uint8 kStripGrey = 0xC0;

static_assert(kMenuBarRows == kMenuBarHeight, "the menu bar fills its strip");

bool isWindowlessDriver(const char* driver) {
    return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

bool envIsOne(const char* name) {
    const char* value = std::getenv(name);
    return value && std::strcmp(value, "1") == 0;
}

class SdlPlatform final : public PlatformBase {
public:
    SdlPlatform() : menu_([this](std::string_view label) { return measureText_.measure(label); }) {}
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;
    ~SdlPlatform() override;

    bool open(const SdlOptions& options, std::string* error);

    uint32_t ticks() override { return SDL_GetTicks(); }
    void sleep(uint32_t ms) override { SDL_Delay(ms); }

    void waitForEvent(uint32_t timeoutMs, uint32_t) override;

    FrameBuffer& window() override { return frame_; }
    void present(const Rect& rect) override;
    void showWindow() override;

    MessageBoxResult messageBox(std::string_view caption, std::string_view text,
                                MessageBoxButtons buttons) override;
    std::optional<std::string> inputDialog(const InputDialogRequest& request,
                                           const InputCheck& check) override;
    void setTitle(std::string_view title) override {
        SDL_SetWindowTitle(window_, std::string(title).c_str());
    }
    void setArrowCursor() override;
    void setCustomCursor(const CursorImage& image) override;
    bool setFullScreen(bool on) override;
    int changeWindowScale(int step) override;
    void setMenuBar(const MenuBar& menu) override;
    void setMenuBarShown(bool shown) override;

    bool isHeadless() const override { return false; }
    void setClipboardText(std::string_view utf8) override {
        SDL_SetClipboardText(std::string(utf8).c_str());
    }
    bool ctrlHeld() override { return (SDL_GetModState() & KMOD_CTRL) != 0; }

    const SdlLayout& layout() const { return layout_; }
    void warpPointer(int x, int y) { SDL_WarpMouseInWindow(window_, x, y); }
    const MenuView& menuView() const { return menu_; }

protected:
    void gather() override { pump(); }

private:
    void pump();
    void translate(const SDL_Event& e);
    void postPointer(EventKind kind, int windowX, int windowY);
    // Window units (mouse events) to the game's 640x480 and where that lies.
    GamePoint pointerToGame(int windowX, int windowY);
    // Shows the dialog over the picture and answers when the player does.
    int runDialog(DialogView& dialog);
    // The loop of every modal dialog: each event to handle until it says the dialog is done
    // (true), or false once a termination signal has posted its close.
    bool modalLoop(const std::function<bool(const SDL_Event&)>& handle);
    std::optional<int> dialogEvent(DialogView& dialog, const SDL_Event& e, Uint32 openedAt);
    void paintDialog();
    // What one event does to the input dialog; false when the system ends the program.
    bool inputEvent(InputDialogView& view, const SDL_Event& e, Uint32 openedAt, bool& submitted);
    // What both modal views do alike: the renderer lost its pictures (the view's own one too).
    void redrawAfterDeviceReset(bool& viewDirty);
    // A pointer move or left-button event over a modal view, in game coordinates. A press or
    // release from before the view opened is the game's.
    template <class View>
    void pointerEvent(View& view, const SDL_Event& e, Uint32 openedAt,
                      typename View::Result& result);
    void paintInput();
    // Tells the input method where the field is, for its candidate window.
    void placeTextInput();
    SDL_Rect gameToOutput(const MenuBox& box) const;
    void postKey(int code);
    // Arrows, Shift+Tab and the window's own keys; false for a key that is not one of them.
    bool postNamedKey(const SDL_KeyboardEvent& key);
    void postWheel(const SDL_MouseWheelEvent& wheel);
    void applyMenu(const MenuView::Result& result);
    void postPaint();
    void updateLayout();
    void render();
    void showCursorFor(PointerArea area);
    bool uploadRows(int left, int top, int right, int bottom);
    // Menu units (see MenuView) to output pixels, for where the bar and its popup are drawn.
    SDL_Rect menuToOutput(const MenuBox& box) const;
    int menuScale() const;
    // The largest scale whose window fits the first display's usable area.
    static int desktopScale();
    void paintMenu();
    bool uploadCanvas(SDL_Texture*& texture, const RgbCanvas& canvas);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool videoStarted_ = false;
    bool windowless_ = false;

    int scale_ = 1;
    bool fullScreen_ = false;
    SdlLayout layout_;

    SDL_Cursor* customCursor_ = nullptr;
    CursorImage customImage_;
    bool customShown_ = false;
    PointerArea pointerArea_ = PointerArea::Game;

    UiText measureText_{kMenuTextPixels};
    MenuView menu_;
    std::unique_ptr<UiText> paintText_; // the labels at the scale the menu is painted at
    SDL_Texture* barTexture_ = nullptr;
    SDL_Texture* popupTexture_ = nullptr;
    bool menuDirty_ = true;
    int paintedScale_ = 0;

    DialogView* dialog_ = nullptr; // the modal dialog being shown
    SDL_Texture* dialogTexture_ = nullptr;
    bool dialogDirty_ = false;
    InputDialogView* input_ = nullptr; // the input dialog being shown (under a message box)
    SDL_Texture* inputTexture_ = nullptr;
    bool inputDirty_ = false;

    FrameBuffer frame_;
};

SdlPlatform::~SdlPlatform() {
    if (customCursor_) {
        SDL_SetCursor(SDL_GetDefaultCursor());
        SDL_FreeCursor(customCursor_);
    }
    if (dialogTexture_) SDL_DestroyTexture(dialogTexture_);
    if (inputTexture_) SDL_DestroyTexture(inputTexture_);
    if (popupTexture_) SDL_DestroyTexture(popupTexture_);
    if (barTexture_) SDL_DestroyTexture(barTexture_);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlPlatform::open(const SdlOptions& options, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what + ": " + SDL_GetError();
        return false;
    };
    // Effects present every frame on their own clock; waiting for the
    // vertical blank would stretch every transition.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // Closing the window is a question to the player (Close), not a quit;
    // SDL_QUIT is then left for SIGTERM and the session ending.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that activates the window is a click in the game as well.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A composition longer than a short event holds still shows whole in the input dialog.
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail("cannot start SDL video");
    videoStarted_ = true;

    const char* driver = SDL_GetCurrentVideoDriver();
    windowless_ = isWindowlessDriver(driver);
    if (windowless_) {
        // SDL falls back to an invisible driver when there is no display;
        // a window nobody can see is only wanted when asked for by name.
        const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
        if (!requested || !std::strstr(requested, driver)) {
            if (error)
                *error = std::string("no display available (SDL chose the ") + driver +
                         " video driver); use --headless";
            return false;
        }
    }

    scale_ = options.scale == 0 ? desktopScale() : std::clamp(options.scale, 1, 8);
    setTranscript(options.transcript);
    const int pos = envIsOne("ORVANE_WINDOW_AT_ORIGIN") ? 0 : int(SDL_WINDOWPOS_UNDEFINED);
    window_ = SDL_CreateWindow("", pos, pos, kScreenWidth * scale_,
                               (kScreenHeight + kMenuBarHeight) * scale_, SDL_WINDOW_HIDDEN);
    if (!window_) return fail("cannot create the window");

    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return fail("cannot create a renderer");

    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                                 kScreenWidth, kScreenHeight);
    if (!texture_) return fail("cannot create the screen texture");
    uploadRows(0, 0, kScreenWidth, kScreenHeight);

    SDL_StartTextInput();
    updateLayout();
    if (options.fullscreen) setFullScreen(true);
    return true;
}

// ---------------------------------------------------------------------------
// Events

void SdlPlatform::pump() {
    SDL_PumpEvents();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) translate(e);
    fireTimers();
}

void SdlPlatform::waitForEvent(uint32_t timeoutMs, uint32_t) {
    pump();
    takeTerminationSignal();
    if (!queue().empty()) return;
    const uint32_t timeout = std::min(timeoutMs, msUntilNextTimer());
    if (timeout == 0) return;
    // Blocks in the display connection; an idle wait then costs no processor time.
    SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint32_t>(timeout, INT32_MAX)));
}

void SdlPlatform::translate(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        postClose(kCloseTerminate);
        break;
    case SDL_WINDOWEVENT:
        if (e.window.windowID != SDL_GetWindowID(window_)) break;
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            postClose(0);
            break;
        case SDL_WINDOWEVENT_LEAVE:
            // The bar's hover highlight goes with the pointer; an open popup stays.
            applyMenu(menu_.pointerMove(-1, -1, true));
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            updateLayout();
            render();
            postPaint();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            // The texture still holds the last picture: show it at once, and
            // let the engine repaint as the old window did on WM_PAINT.
            render();
            postPaint();
            break;
        default:
            break;
        }
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        uploadRows(0, 0, kScreenWidth, kScreenHeight);
        menuDirty_ = true;
        render();
        postPaint();
        break;
    case SDL_MOUSEMOTION:
        postPointer(EventKind::MouseMove, e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        if (e.button.button == SDL_BUTTON_LEFT)
            postPointer(down ? EventKind::LButtonDown : EventKind::LButtonUp, e.button.x,
                        e.button.y);
        else if (e.button.button == SDL_BUTTON_RIGHT)
            postPointer(down ? EventKind::RButtonDown : EventKind::RButtonUp, e.button.x,
                        e.button.y);
        break;
    }
    case SDL_TEXTINPUT:
        for (char32_t cp : decodeUtf8(e.text.text)) {
            // Space arrives as a key as well; it is delivered from there so
            // it also works while text input is composing nothing.
            if (cp == U' ') continue;
            postKey(int(cp));
        }
        break;
    case SDL_MOUSEWHEEL:
        postWheel(e.wheel);
        break;
    case SDL_KEYDOWN: {
        if (postNamedKey(e.key)) break;
        // Held keys repeat, as typed characters did.
        int code = 0;
        switch (e.key.keysym.sym) {
        case SDLK_SPACE:
            code = 32;
            break;
        case SDLK_TAB:
            code = 9;
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            code = 13;
            break;
        case SDLK_ESCAPE:
            code = 27;
            break;
        case SDLK_BACKSPACE:
            code = 8;
            break;
        default:
            break;
        }
        if (code) postKey(code);
        break;
    }
    default:
        break;
    }
}

GamePoint SdlPlatform::pointerToGame(int windowX, int windowY) {
    // Mouse positions come in window units; the layout is in output pixels,
    // which differ on a high-density display.
    int winW = 0, winH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(window_, &winW, &winH);
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    int px = windowX, py = windowY;
    if (winW > 0 && winH > 0 && (winW != outW || winH != outH)) {
        px = int((long long)windowX * outW / winW);
        py = int((long long)windowY * outH / winH);
    }
    return mapToGame(layout_, px, py);
}

void SdlPlatform::postPointer(EventKind kind, int windowX, int windowY) {
    const GamePoint p = pointerToGame(windowX, windowY);

    // The menu sees the pointer first. In a window its bar is the strip (game rows -20..-1);
    // in full screen it lies over the picture's top rows. Popups hang below the bar either way.
    const bool outside = p.area == PointerArea::Outside;
    const int menuX = p.x;
    const int menuY = fullScreen_ ? p.y : p.y + kMenuBarHeight;
    MenuView::Result result;
    switch (kind) {
    case EventKind::MouseMove:
        result = menu_.pointerMove(menuX, menuY, outside);
        break;
    case EventKind::LButtonDown:
    case EventKind::RButtonDown:
        result = menu_.buttonDown(menuX, menuY, outside);
        break;
    case EventKind::LButtonUp:
    case EventKind::RButtonUp:
        result = menu_.buttonUp(menuX, menuY, outside);
        break;
    default:
        break;
    }
    showCursorFor(result.consumed ? PointerArea::MenuStrip : p.area);
    applyMenu(result);
    // The strip belongs to the menu bar, as the old window's menu was outside
    // its client area: the game does not see the pointer there.
    if (result.consumed || p.area == PointerArea::MenuStrip) return;
    queue().post({kind, p.x, p.y, 0});
}

bool SdlPlatform::postNamedKey(const SDL_KeyboardEvent& key) {
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    int code = 0;
    switch (key.keysym.sym) {
    case SDLK_UP:
        code = kKeyUp;
        break;
    case SDLK_DOWN:
        code = kKeyDown;
        break;
    case SDLK_LEFT:
        code = kKeyLeft;
        break;
    case SDLK_RIGHT:
        code = kKeyRight;
        break;
    case SDLK_TAB:
        if ((key.keysym.mod & KMOD_SHIFT) != 0) code = kKeyBackTab;
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        if (alt) code = kKeyFullScreen;
        break;
    case SDLK_F11:
        code = kKeyFullScreen;
        break;
    case SDLK_F12:
        code = kKeyScreenshot;
        break;
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS:
        if ((key.keysym.mod & KMOD_CTRL) != 0) code = kKeyLarger;
        break;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
        if ((key.keysym.mod & KMOD_CTRL) != 0) code = kKeySmaller;
        break;
    default:
        break;
    }
    if (code == 0) return false;
    // A held switch or shutter key would flicker or fill the folder.
    const bool once = code != kKeyUp && code != kKeyDown && code != kKeyLeft && code != kKeyRight;
    if (!(once && key.repeat)) queue().post({EventKind::Key, 0, 0, code});
    return true;
}

void SdlPlatform::postWheel(const SDL_MouseWheelEvent& wheel) {
    int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    if (notches == 0) return;
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    const GamePoint p = pointerToGame(x, y);
    const int code = notches > 0 ? kWheelUp : kWheelDown;
    // A fast spin pages a few steps, not dozens.
    for (int i = std::min(std::abs(notches), 3); i > 0; --i)
        queue().post({EventKind::Wheel, p.x, p.y, code});
}

void SdlPlatform::postKey(int code) {
    const MenuView::Result result = menu_.key(code);
    applyMenu(result);
    if (!result.consumed) queue().post({EventKind::Char, 0, 0, code});
}

void SdlPlatform::applyMenu(const MenuView::Result& result) {
    if (result.command) queue().post({EventKind::Command, 0, 0, *result.command});
    if (result.changed) {
        menuDirty_ = true;
        render();
    }
}

void SdlPlatform::postPaint() {
    // Like WM_PAINT, pending repaints merge into one.
    if (!queue().has(EventKind::Paint)) queue().post({EventKind::Paint, 0, 0, 0});
}

// ---------------------------------------------------------------------------
// Picture

void SdlPlatform::updateLayout() {
    int winW = 0, winH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(window_, &winW, &winH);
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    int strip = 0;
    if (!fullScreen_) {
        strip = kMenuBarHeight * scale_;
        if (winH > 0 && outH != winH) strip = int((long long)strip * outH / winH);
    }
    layout_ = computeLayout(outW, outH, strip);
    SDL_SetTextureScaleMode(texture_,
                            layout_.wholeScale ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
}

bool SdlPlatform::uploadRows(int left, int top, int right, int bottom) {
    const size_t needed = size_t(frame_.stride) * size_t(std::max(frame_.height, 0));
    if (frame_.width != kScreenWidth || frame_.height != kScreenHeight ||
        frame_.stride < kScreenWidth * 3 || frame_.pixels.size() < needed)
        return false;
    const SDL_Rect area{left, top, right - left, bottom - top};
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, &area, &pixels, &pitch) != 0) return false;
    auto* dst = static_cast<uint8_t*>(pixels);
    const size_t bytes = size_t(area.w) * 3;
    // The frame is bottom-up; the texture top-down. Flip row by row rather
    // than rely on a negative pitch.
    for (int y = top; y < bottom; ++y)
        std::memcpy(dst + size_t(y - top) * pitch, frame_.row(y) + size_t(left) * 3, bytes);
    SDL_UnlockTexture(texture_);
    return true;
}

int SdlPlatform::menuScale() const {
    // Labels are painted at the whole scale nearest the picture's, then fitted to it.
    const int s = (layout_.game.h + kScreenHeight / 2) / kScreenHeight;
    return std::clamp(s, 1, 8);
}

SDL_Rect SdlPlatform::menuToOutput(const MenuBox& box) const {
    const PixelRect& g = layout_.game;
    const PixelRect& strip = layout_.menuStrip;
    auto outX = [&](int x) { return g.x + int((long long)x * g.w / kScreenWidth); };
    auto outY = [&](int y) {
        if (fullScreen_) return g.y + int((long long)y * g.h / kScreenHeight);
        if (y <= kMenuBarHeight) return strip.y + int((long long)y * strip.h / kMenuBarHeight);
        return g.y + int((long long)(y - kMenuBarHeight) * g.h / kScreenHeight);
    };
    const int x0 = outX(box.x), y0 = outY(box.y);
    return {x0, y0, outX(box.x + box.w) - x0, outY(box.y + box.h) - y0};
}

bool SdlPlatform::uploadCanvas(SDL_Texture*& texture, const RgbCanvas& canvas) {
    if (canvas.width <= 0 || canvas.height <= 0) return false;
    int w = 0, h = 0;
    if (texture && (SDL_QueryTexture(texture, nullptr, nullptr, &w, &h) != 0 || w != canvas.width ||
                    h != canvas.height)) {
        SDL_DestroyTexture(texture);
        texture = nullptr;
    }
    if (!texture) {
        texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STATIC,
                                    canvas.width, canvas.height);
        if (!texture) return false;
        SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    }
    return SDL_UpdateTexture(texture, nullptr, canvas.pixels.data(), canvas.width * 3) == 0;
}

void SdlPlatform::paintMenu() {
    const int s = menuScale();
    if (!paintText_ || paintedScale_ != s) {
        paintText_ = std::make_unique<UiText>(kMenuTextPixels * s);
        paintedScale_ = s;
    }
    RgbCanvas bar(kScreenWidth * s, kMenuBarHeight * s);
    menu_.paintBar(bar, *paintText_, s);
    uploadCanvas(barTexture_, bar);
    if (menu_.isOpen()) {
        const MenuBox box = menu_.popupBox();
        RgbCanvas popup(box.w * s, box.h * s);
        menu_.paintPopup(popup, *paintText_, s);
        uploadCanvas(popupTexture_, popup);
    }
    menuDirty_ = false;
}

SDL_Rect SdlPlatform::gameToOutput(const MenuBox& box) const {
    const PixelRect& g = layout_.game;
    const int x0 = g.x + int((long long)box.x * g.w / kScreenWidth);
    const int y0 = g.y + int((long long)box.y * g.h / kScreenHeight);
    const int x1 = g.x + int((long long)(box.x + box.w) * g.w / kScreenWidth);
    const int y1 = g.y + int((long long)(box.y + box.h) * g.h / kScreenHeight);
    return {x0, y0, x1 - x0, y1 - y0};
}

void SdlPlatform::paintDialog() {
    if (!paintText_ || paintedScale_ != menuScale()) paintMenu();
    const int s = paintedScale_;
    const MenuBox box = dialog_->box();
    RgbCanvas canvas(box.w * s, box.h * s);
    dialog_->paint(canvas, *paintText_, s);
    uploadCanvas(dialogTexture_, canvas);
    dialogDirty_ = false;
}

void SdlPlatform::paintInput() {
    if (!paintText_ || paintedScale_ != menuScale()) paintMenu();
    const int s = paintedScale_;
    const MenuBox box = input_->box();
    RgbCanvas canvas(box.w * s, box.h * s);
    input_->paint(canvas, *paintText_, s);
    uploadCanvas(inputTexture_, canvas);
    inputDirty_ = false;
}

void SdlPlatform::render() {
    if (menuDirty_ || paintedScale_ != menuScale()) paintMenu();
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const PixelRect& s = layout_.menuStrip;
    const MenuBox barBox{0, 0, kScreenWidth, kMenuBarHeight};
    if (s.w > 0 && s.h > 0) {
        const SDL_Rect strip{s.x, s.y, s.w, s.h};
        SDL_SetRenderDrawColor(renderer_, kStripGrey, kStripGrey, kStripGrey, 255);
        SDL_RenderFillRect(renderer_, &strip);
        if (barTexture_) {
            const SDL_Rect bar = menuToOutput(barBox);
            SDL_RenderCopy(renderer_, barTexture_, nullptr, &bar);
        }
    }
    const PixelRect& g = layout_.game;
    const SDL_Rect game{g.x, g.y, g.w, g.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &game);
    if (fullScreen_ && menu_.shown() && barTexture_) {
        const SDL_Rect bar = menuToOutput(barBox);
        SDL_RenderCopy(renderer_, barTexture_, nullptr, &bar);
    }
    if (menu_.isOpen() && popupTexture_) {
        const SDL_Rect popup = menuToOutput(menu_.popupBox());
        SDL_RenderCopy(renderer_, popupTexture_, nullptr, &popup);
    }
    if (input_) {
        if (inputDirty_ || paintedScale_ != menuScale()) paintInput();
        if (inputTexture_) {
            const SDL_Rect box = gameToOutput(input_->box());
            SDL_RenderCopy(renderer_, inputTexture_, nullptr, &box);
        }
    }
    if (dialog_) {
        if (dialogDirty_ || paintedScale_ != menuScale()) paintDialog();
        if (dialogTexture_) {
            const SDL_Rect box = gameToOutput(dialog_->box());
            SDL_RenderCopy(renderer_, dialogTexture_, nullptr, &box);
        }
    }
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::present(const Rect& rect) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, kScreenWidth);
    const int bottom = std::min(rect.bottom, kScreenHeight);
    if (right <= left || bottom <= top) return;
    if (uploadRows(left, top, right, bottom)) render();
}

void SdlPlatform::showWindow() {
    SDL_ShowWindow(window_);
    updateLayout();
    render();
}

bool SdlPlatform::setFullScreen(bool on) {
    if (on == fullScreen_) return true;
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
    fullScreen_ = on;
    // A popup hangs from where the bar was; it would be left floating.
    if (menu_.close()) menuDirty_ = true;
    if (!on)
        SDL_SetWindowSize(window_, kScreenWidth * scale_,
                          (kScreenHeight + kMenuBarHeight) * scale_);
    // The new size may arrive later as a size event; lay out for what is
    // known now and again then.
    updateLayout();
    render();
    return true;
}

int SdlPlatform::changeWindowScale(int step) {
    const int scale = std::clamp(scale_ + step, 1, 8);
    if (scale == scale_) return scale_;
    scale_ = scale;
    // In full screen the new size waits for the return to the window.
    if (!fullScreen_) {
        SDL_SetWindowSize(window_, kScreenWidth * scale_,
                          (kScreenHeight + kMenuBarHeight) * scale_);
        updateLayout();
        render();
        postPaint();
    }
    return scale_;
}

int SdlPlatform::desktopScale() {
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    return fittingScale(usable.w, usable.h);
}

void SdlPlatform::setMenuBar(const MenuBar& menu) {
    menu_.setMenu(menu);
    menuDirty_ = true;
    render();
}

void SdlPlatform::setMenuBarShown(bool shown) {
    if (shown == menu_.shown()) return;
    menu_.setShown(shown);
    menuDirty_ = true;
    render();
}

// ---------------------------------------------------------------------------
// Dialogs and cursors

MessageBoxResult SdlPlatform::messageBox(std::string_view caption, std::string_view text,
                                         MessageBoxButtons buttons) {
    // The box is also a line on stderr, so a run's errors stay in its log.
    std::fprintf(stderr, "[%s] %s\n", escapeControls(caption).c_str(),
                 escapeControls(text).c_str());
    std::fflush(stderr);
    const bool ask = buttons == MessageBoxButtons::YesNo;
    std::vector<DialogButton> choices;
    if (ask)
        choices = {{"\xE3\x81\xAF\xE3\x81\x84", int(MessageBoxResult::Yes)},             // はい
                   {"\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88", int(MessageBoxResult::No)}}; // いいえ
    else
        choices = {{"OK", int(MessageBoxResult::Ok)}};
    DialogView dialog([this](std::string_view label) { return measureText_.measure(label); },
                      std::string(caption), text, std::move(choices),
                      int(ask ? MessageBoxResult::No : MessageBoxResult::Ok));
    return MessageBoxResult(runDialog(dialog));
}

bool SdlPlatform::modalLoop(const std::function<bool(const SDL_Event&)>& handle) {
    for (;;) {
        if (takeTerminationSignal()) return false;
        SDL_Event e;
        // Blocks, waking now and then to see whether a signal asked the program to end.
        if (SDL_WaitEventTimeout(&e, 100) && handle(e)) return true;
    }
}

int SdlPlatform::runDialog(DialogView& dialog) {
    // A box at start-up comes before the game showed its window.
    if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN)) showWindow();
    // The dialog is modal: an open popup would be left hanging behind it.
    if (menu_.close()) menuDirty_ = true;
    // The dialog is the window's own furniture: the arrow, not the game's cursor.
    const PointerArea area = pointerArea_;
    showCursorFor(PointerArea::MenuStrip);
    dialog_ = &dialog;
    dialogDirty_ = true;
    render();
    // Input already on its way belongs to what the player saw before the dialog.
    SDL_PumpEvents();
    const Uint32 openedAt = SDL_GetTicks();
    std::optional<int> answer;
    if (!modalLoop([&](const SDL_Event& e) {
            answer = dialogEvent(dialog, e, openedAt);
            return answer.has_value();
        }))
        answer = dialog.cancelAnswer();
    dialog_ = nullptr;
    showCursorFor(area);
    render();
    return *answer;
}

void SdlPlatform::redrawAfterDeviceReset(bool& viewDirty) {
    uploadRows(0, 0, kScreenWidth, kScreenHeight);
    menuDirty_ = viewDirty = true;
    render();
    postPaint();
}

template <class View>
void SdlPlatform::pointerEvent(View& view, const SDL_Event& e, Uint32 openedAt,
                               typename View::Result& result) {
    if (e.type == SDL_MOUSEMOTION) {
        const GamePoint p = pointerToGame(e.motion.x, e.motion.y);
        result = view.pointerMove(p.x, p.y);
        return;
    }
    if (e.button.button != SDL_BUTTON_LEFT || e.button.timestamp <= openedAt) return;
    const GamePoint p = pointerToGame(e.button.x, e.button.y);
    if (p.area == PointerArea::Outside) return;
    result = e.type == SDL_MOUSEBUTTONDOWN ? view.buttonDown(p.x, p.y) : view.buttonUp(p.x, p.y);
}

std::optional<int> SdlPlatform::dialogEvent(DialogView& dialog, const SDL_Event& e,
                                            Uint32 openedAt) {
    DialogView::Result result;
    switch (e.type) {
    case SDL_QUIT:
        // Nobody is asked when the system ends the program; the engine hears of it next.
        postClose(kCloseTerminate);
        return dialog.cancelAnswer();
    case SDL_WINDOWEVENT:
        if (e.window.windowID != SDL_GetWindowID(window_)) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) return dialog.cancelAnswer();
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) updateLayout();
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
            e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            render();
            postPaint();
        }
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        redrawAfterDeviceReset(dialogDirty_);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        pointerEvent(dialog, e, openedAt, result);
        break;
    case SDL_KEYDOWN: {
        // A held key repeating is not an answer.
        if (e.key.repeat || e.key.timestamp <= openedAt) break;
        const bool shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
        switch (e.key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            result = dialog.key(DialogKey::Enter);
            break;
        case SDLK_SPACE:
            result = dialog.key(DialogKey::Space);
            break;
        case SDLK_ESCAPE:
            result = dialog.key(DialogKey::Escape);
            break;
        case SDLK_LEFT:
            result = dialog.key(DialogKey::Left);
            break;
        case SDLK_RIGHT:
            result = dialog.key(DialogKey::Right);
            break;
        case SDLK_TAB:
            result = dialog.key(shift ? DialogKey::BackTab : DialogKey::Tab);
            break;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    if (result.changed) {
        dialogDirty_ = true;
        render();
    }
    return result.answer;
}

std::optional<std::string> SdlPlatform::inputDialog(const InputDialogRequest& request,
                                                    const InputCheck& check) {
    if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN)) showWindow();
    if (menu_.close()) menuDirty_ = true;
    const PointerArea area = pointerArea_;
    showCursorFor(PointerArea::MenuStrip);
    InputDialogView view(request.caption, request.prompt, request.size);
    input_ = &view;
    inputDirty_ = true;
    placeTextInput();
    render();
    SDL_PumpEvents();
    const Uint32 openedAt = SDL_GetTicks();
    // The loop ends with no answer when the system ends the program.
    std::optional<std::string> answer;
    modalLoop([&](const SDL_Event& e) {
        bool submitted = false;
        if (!inputEvent(view, e, openedAt, submitted)) return true;
        if (!submitted) return false;
        if (const std::optional<InputRefusal> refused = check(view.text())) {
            messageBox(refused->caption, refused->text, MessageBoxButtons::Ok);
            // The system may have ended the program while the refusal was shown.
            if (queue().has(EventKind::Close)) return true;
            // The box took the keyboard: what the input method composed meanwhile is gone.
            view.compose({});
            inputDirty_ = true;
            render();
            return false;
        }
        answer = view.text();
        return true;
    });
    input_ = nullptr;
    showCursorFor(area);
    render();
    return answer;
}

void SdlPlatform::placeTextInput() {
    // Window units, as the input method sees the window, from the field's output pixels.
    SDL_Rect r = gameToOutput(input_->fieldBox());
    int winW = 0, winH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(window_, &winW, &winH);
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    if (outW > 0 && outH > 0 && (winW != outW || winH != outH))
        r = {int((long long)r.x * winW / outW), int((long long)r.y * winH / outH),
             int((long long)r.w * winW / outW), int((long long)r.h * winH / outH)};
    SDL_SetTextInputRect(&r);
    SDL_StartTextInput();
}

bool SdlPlatform::inputEvent(InputDialogView& view, const SDL_Event& e, Uint32 openedAt,
                             bool& submitted) {
    InputDialogView::Result result;
    switch (e.type) {
    case SDL_QUIT:
        postClose(kCloseTerminate);
        return false;
    case SDL_WINDOWEVENT:
        // The window's close box is not the dialog's: only 決定 ends it.
        if (e.window.windowID != SDL_GetWindowID(window_)) break;
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            updateLayout();
            placeTextInput();
        }
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
            e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            render();
            postPaint();
        }
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        redrawAfterDeviceReset(inputDirty_);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        pointerEvent(view, e, openedAt, result);
        break;
    case SDL_TEXTINPUT:
        // Typed before the dialog came: it belonged to the game.
        if (e.text.timestamp > openedAt) result = view.type(e.text.text);
        break;
    case SDL_TEXTEDITING:
        result = view.compose(e.edit.text);
        break;
    case SDL_TEXTEDITING_EXT:
        result = view.compose(e.editExt.text ? e.editExt.text : "");
        SDL_free(e.editExt.text);
        break;
    case SDL_KEYDOWN: {
        if (e.key.timestamp <= openedAt) break;
        switch (e.key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            // A held Enter repeating is not a second press.
            if (!e.key.repeat) result = view.key(FieldKey::Enter);
            break;
        case SDLK_BACKSPACE:
            result = view.key(FieldKey::Backspace);
            break;
        case SDLK_DELETE:
            result = view.key(FieldKey::Delete);
            break;
        case SDLK_LEFT:
            result = view.key(FieldKey::Left);
            break;
        case SDLK_RIGHT:
            result = view.key(FieldKey::Right);
            break;
        case SDLK_HOME:
            result = view.key(FieldKey::Home);
            break;
        case SDLK_END:
            result = view.key(FieldKey::End);
            break;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    if (result.changed) {
        inputDirty_ = true;
        render();
    }
    submitted = result.submitted;
    return true;
}

void SdlPlatform::showCursorFor(PointerArea area) {
    pointerArea_ = area;
    // The game's cursor is for the picture; the menu keeps the arrow.
    const bool wantCustom = customCursor_ && area != PointerArea::MenuStrip;
    if (wantCustom == customShown_) return;
    SDL_SetCursor(wantCustom ? customCursor_ : SDL_GetDefaultCursor());
    customShown_ = wantCustom;
}

void SdlPlatform::setArrowCursor() {
    if (!customCursor_) return;
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_FreeCursor(customCursor_);
    customCursor_ = nullptr;
    customShown_ = false;
    customImage_ = {};
}

void SdlPlatform::setCustomCursor(const CursorImage& image) {
    // The window procedure sets the cursor again on every message; building
    // a system cursor each time would be wasteful.
    if (customCursor_ && image.width == customImage_.width && image.height == customImage_.height &&
        image.hotX == customImage_.hotX && image.hotY == customImage_.hotY &&
        image.bgra == customImage_.bgra) {
        showCursorFor(pointerArea_);
        return;
    }
    if (image.width <= 0 || image.height <= 0 ||
        image.bgra.size() < size_t(image.width) * size_t(image.height) * 4)
        return;
    std::vector<uint8_t> pixels = image.bgra;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), image.width, image.height, 32, image.width * 4, SDL_PIXELFORMAT_BGRA32);
    if (!surface) return;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, std::clamp(image.hotX, 0, image.width - 1),
                                               std::clamp(image.hotY, 0, image.height - 1));
    SDL_FreeSurface(surface);
    if (!cursor) return;

    SDL_Cursor* previous = customCursor_;
    customCursor_ = cursor;
    customImage_ = image;
    customShown_ = false;
    showCursorFor(pointerArea_);
    if (!customShown_) SDL_SetCursor(SDL_GetDefaultCursor());
    if (previous) SDL_FreeCursor(previous);
}

} // namespace

std::unique_ptr<Platform> createSdlPlatform(const SdlOptions& options, std::string* error) {
    auto platform = std::make_unique<SdlPlatform>();
    if (!platform->open(options, error)) return nullptr;
    return platform;
}

std::optional<SdlLayout> sdlLayout(Platform& platform) {
    if (auto* sdl = dynamic_cast<SdlPlatform*>(&platform)) return sdl->layout();
    return std::nullopt;
}

const MenuView* sdlMenuView(Platform& platform) {
    if (auto* sdl = dynamic_cast<SdlPlatform*>(&platform)) return &sdl->menuView();
    return nullptr;
}

bool warpSdlPointer(Platform& platform, int x, int y) {
    auto* sdl = dynamic_cast<SdlPlatform*>(&platform);
    if (!sdl) return false;
    sdl->warpPointer(x, y);
    return true;
}

} // namespace orv
