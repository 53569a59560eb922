// Shared pieces of the window layer's tests: the application object and an event recorder.
#pragma once

#include <QApplication>
#include <QString>

#include "tests/recording_events.h"

namespace vardelle::ui::testing {

// The process's QApplication, created on first use (offscreen unless told otherwise).
QApplication& TestApplication();

using vardelle::testing::RecordingEvents;

inline QString Text(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace vardelle::ui::testing
