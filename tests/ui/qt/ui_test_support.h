// Shared pieces of the window layer's tests: the application object, an event recorder and
// menu items chosen by their captions.
#pragma once

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QString>
#include <QStringList>
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

// The menu's items as the player sees them: the visible ones' captions, separators left out.
QStringList MenuCaptions(const QMenu& menu);
// Triggers the menu's visible item captioned caption; false when it has none.
bool TriggerMenuItem(QMenu& menu, const QString& caption);
// Opens a pop-up menu with open() and, once it shows, chooses its item captioned caption as
// the player would; false, the menu closed unchosen, when it offers no such item.
bool ChooseFromPopup(const QString& caption, const std::function<void()>& open);

inline QString QText(const char16_t* text) { return QString::fromUtf16(text); }

// An icon's pixels at size, in one format, so that two pictures compare pixel by pixel.
QImage Pixels(const QIcon& icon, QSize size);

}  // namespace vardelle::ui::testing
