// The main window (platform/MainWindow.h) as a recording fake: it keeps what it is told as a real
// window would report it back, and records every call, in order, as readable lines.
#pragma once

#include "platform/MainWindow.h"

#include <functional>
#include <string>
#include <vector>

namespace Velmora::Tests {

class TRecordingMainWindow final : public Platform::TNativeMainWindow {
public:
    std::vector<std::string> Calls; // e.g. "SetBorder 0", "SetState maximized"

    Shared::Text Title;
    std::int32_t WindowBorder = Platform::bsSizeable;
    Platform::TWindowState WindowState = Platform::TWindowState::Normal;
    bool OnTop = false;
    bool Visible = false;
    Platform::TWindowBounds WindowBounds{50, 50, 800, 600};
    // Called after each call is recorded, as a window serving the main loop lets other work in.
    std::function<void(const std::string& call)> OnCall;

    void Show() override {
        Visible = true;
        Record("Show");
    }
    void Hide() override {
        Visible = false;
        Record("Hide");
    }
    void BringToFront() override {
        Visible = true;
        Record("BringToFront");
    }
    Shared::Text Caption() const override { return Title; }
    void SetCaption(Shared::TextView caption) override {
        Title = Shared::Text(caption);
        Record("SetCaption " + Shared::ToUtf8(caption));
    }
    std::int32_t Border() const override { return WindowBorder; }
    void SetBorder(std::int32_t border) override {
        WindowBorder = border;
        Record("SetBorder " + std::to_string(border));
    }
    Platform::TWindowState State() const override { return WindowState; }
    void SetState(Platform::TWindowState state) override {
        WindowState = state;
        Record(std::string("SetState ") + StateName(state));
    }
    bool StayOnTop() const override { return OnTop; }
    void SetStayOnTop(bool onTop) override {
        OnTop = onTop;
        Record(onTop ? "SetStayOnTop true" : "SetStayOnTop false");
    }
    Platform::TWindowBounds Bounds() const override { return WindowBounds; }
    void SetBounds(const Platform::TWindowBounds& bounds) override {
        WindowBounds = bounds;
        Record("SetBounds " + std::to_string(bounds.Left) + " " + std::to_string(bounds.Top) + " " +
               std::to_string(bounds.Width) + " " + std::to_string(bounds.Height));
    }
    void Close() override {
        Record("Close");
        if (OnCloseQuery && !OnCloseQuery()) return;
        Visible = false;
        if (OnClose) OnClose();
    }
    void* Handle() const override { return nullptr; }

    static const char* StateName(Platform::TWindowState state) {
        switch (state) {
            case Platform::TWindowState::Minimized: return "minimized";
            case Platform::TWindowState::Maximized: return "maximized";
            case Platform::TWindowState::Normal: break;
        }
        return "normal";
    }

private:
    void Record(std::string call) {
        Calls.push_back(call);
        if (OnCall) OnCall(call);
    }
};

} // namespace Velmora::Tests
