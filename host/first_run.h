#pragma once
#include <QString>

namespace slownik::host {

//! What the program says on its terminal as it starts: which database it works on and
//! how to log in to the demo data.
QString startNotice(const QString& databaseUrl);

//! Non-empty when the Qt platform draws where nobody can see (offscreen, minimal): the
//! log-in would wait for ever, so the program says why it stops and how to get a window
//! someone can see.
QString invisiblePlatformNotice(const QString& platformName);

}  // namespace slownik::host
