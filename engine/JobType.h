#pragma once
// The kinds of disc job the execution dialog runs; the value is stored as one byte.
#include <QtGlobal>

namespace quillon {

enum TJobType : quint8 {
    jtBuildImage = 0,
    jtDataDisc = 1,
    jtImageDisc = 2,
    jtErase = 3,
    jtAudioDisc = 4,
    jtCdPlus = 5,
    jtAddSession = 6,
    jtRipAudio = 7,
    jtCopyDisc = 8,
    jtFixate = 9,
};

} // namespace quillon
