#pragma once

#include <QString>

// The program's name, maker, version and the texts built from them.
namespace ProductInfo {

inline constexpr QLatin1String name{"Glyphsmith"};
inline constexpr QLatin1String organisation{"Quorvane"};
// The maker's web page, shown in the About box and opened by "Online Support".
inline constexpr QLatin1String supportAddress{"https://quorvane.example/glyphsmith/support"};

QString version();      // "major.minor.patch"
QString versionLine();  // "Glyphsmith Version: major.minor Build patch"
QString aboutTitle();
QString aboutText();    // four lines, the last the version line

} // namespace ProductInfo
