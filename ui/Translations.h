// The languages of the editor's texts. The texts are written in the
// editor's own words, some of them in Japanese (messages and the Option
// dialog's controls); those are shown as written under a Japanese locale and
// the plain C/POSIX one, and in English under every other locale.
#pragma once

#include <QString>
#include <string_view>

class QCoreApplication;

namespace posewright {

/// Installs the English translation unless the user's locale is Japanese or
/// C/POSIX. Call once, after the application object exists.
void InstallTranslations(QCoreApplication& app);

/// A text of the editor as the user's language shows it (the text itself
/// when it has no translation).
QString ShownText(std::string_view text);
}  // namespace posewright
