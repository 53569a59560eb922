// Shared pieces of the window layer's tests: the application object and an event recorder.
#pragma once

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QString>
#include <chrono>
#include <functional>

#include "tests/recording_events.h"

namespace vardelle::ui::testing {

// The process's QApplication, created on first use (offscreen unless told otherwise).
QApplication& TestApplication();

// Serves this thread's events until done answers true or timeout passes; what done answers
// then.
bool ServeEventsUntil(const std::function<bool()>& done,
                      std::chrono::seconds timeout = std::chrono::seconds(60));

using vardelle::testing::RecordingEvents;

inline QString QText(const char16_t* text) { return QString::fromUtf16(text); }

// An icon's pixels at size, in one format, so that two pictures compare pixel by pixel.
QImage Pixels(const QIcon& icon, QSize size);

}  // namespace vardelle::ui::testing
