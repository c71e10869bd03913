// The picture commands of the scenario and the effect that ends each of them.
#pragma once

#include "graphics/Transition.h"

#include <string>

namespace orv {

struct Engine;

// Each engine pass: the screen surfaces made where missing and the definition-block settings back
// to their defaults.
void startGraphicsPass(Engine& engine);
// The reset to the start: every layer emptied and the black screen shown.
void resetGraphicsToStart(Engine& engine);

// Recomposes the inclusive rect of the composition from the layers and the text window.
void redrawRegion(Engine& engine, const DirtyRect& rect);

// Recomposes the dirty region and shows it with a transition (the scrolls and the mosaic into the
// new picture take the whole screen). This is what every effect, the text window's included, ends
// in.
void showDirty(Engine& engine, int type, int duration, const std::string& image);

// Reads the effect that ends a picture command: a registry number, or a type, duration and
// optional mask given inline.
void runEffect(Engine& engine);

// The transition's view of the running engine: its clock, its event pump and its window.
class EngineTransitionHost : public TransitionHost {
public:
    explicit EngineTransitionHost(Engine& engine) : engine_(engine) {}
    uint32_t ticks() override;
    void sleep(uint32_t ms) override;
    void pumpOneEvent() override;
    FrameBuffer& window() override;
    void present(const Rect& rect) override;
    void loadImage(Surface& surface, const std::string& text) override;
    void reportError(std::string_view caption, std::string_view text) override;

private:
    Engine& engine_;
};

// The background from a picture text, centred on black when it is not screen-sized.
void loadBackgroundPicture(Engine& engine, std::string name);
// The background as a name `bg` left: "#rrggbb", "black", "white" (empty: black) or a picture.
void setBackground(Engine& engine, std::string name);

void cmdBg(Engine& engine);
void cmdLd(Engine& engine);
void cmdCl(Engine& engine);
void cmdTal(Engine& engine);
void cmdHumanz(Engine& engine);
void cmdBgalia(Engine& engine);
void cmdUnderline(Engine& engine);
void cmdEffect(Engine& engine);
void cmdWindoweffect(Engine& engine);
void cmdEffectblank(Engine& engine);
void cmdPrint(Engine& engine);

} // namespace orv
