#pragma once

#include "common/CWndControl.h"

#include "platform/gui/Animation.h"
#include "resources/BinaryResources.h"

class CAnimateCtrl final : public CWndControl {
  public:
    // Opens the program's clip resource of that id.
    bool Open(int clipId) { return clip().open(resources::BinaryResources::clip(clipId)); }
    bool Play(int from, int to, int repeat) { return clip().play(from, to, repeat); }
    bool Stop() {
        clip().stop();
        return true;
    }
    void Close() { clip().close(); }
    bool IsPlaying() const { return clip().isPlaying(); }

  private:
    platform::Animation clip() const { return platform::Animation(m_window); }
};
