#include "support/program_harness.h"

#include <cstdlib>
#include <cstring>

#include "app/main_window.h"
#include "kernels/work_buffers.h"
#include "render/frame_buffer.h"
#include "render/picture.h"
#include "resources/resources.h"
#include "stages/stage_state.h"

namespace {

HINSTANCE testModule() {
    static HINSTANCE module = CreateModuleHandle(moduleResources, moduleResourceCount);
    return module;
}

void releasePicture(Picture& p) {
    std::free(p.pixels);
    p.pixels = nullptr;
    p.width = 0;
    p.height = 0;
}

}  // namespace

void resetProgramState() {
    stage = phase = t_start = t_end = bEnter = vadd = vy = 0;
    releasePicture(pic_wp);
    releasePicture(pic_logo);
    releasePicture(pic_sprite);
    if (hmemdc) DeleteDC(hmemdc);
    if (hvram) DeleteObject(hvram);
    hmemdc = nullptr;
    hvram = nullptr;
    vramptr = nullptr;
    hFont = hFont01 = nullptr;  // fonts stay in the layer's handle table
    hMainWnd = nullptr;
    mem0_ = mem1_ = mem0 = mem1 = nullptr;
}

ProgramHarness::ProgramHarness() {
    resetProgramState();
    drive::resetPlatform();
    drive::useVirtualClock(true);
    drive::setVirtualTime(1000);
    drive::recordMessageBoxes(true);
    drive::setPresentHook([this](const drive::Frame& f) {
        ++presents;
        frameWidth = f.width;
        frameHeight = f.height;
        if (!keepLastFrame) return;
        // memcpy: a sanitizer build runs std::copy's memmove as a byte loop.
        lastFrame.resize(static_cast<std::size_t>(f.width) * static_cast<std::size_t>(f.height));
        std::memcpy(lastFrame.data(), f.pixels, lastFrame.size() * sizeof lastFrame[0]);
    });
}

ProgramHarness::~ProgramHarness() {
    resetProgramState();
    drive::resetPlatform();
}

int ProgramHarness::run(Script script) {
    drive::setFrameHook(std::move(script));
    return wWinMain(testModule(), nullptr, nullptr, SW_SHOWDEFAULT);
}
