#include "app/recent_folders.h"

#include <QDir>

#include "app/settings.h"

namespace quendra {

namespace {
const QString kRecentSection = QStringLiteral("Recent");
QString keyOf(int n) {
    return QStringLiteral("Folder") + QString::number(n + 1);
}
} // namespace

bool RecentFolders::add(const QString& place) {
    const QString clean = QDir::cleanPath(place);
    if (clean.isEmpty() || (!places_.isEmpty() && places_.front() == clean))
        return false;
    places_.removeAll(clean);
    places_.prepend(clean);
    while (places_.size() > kMost)
        places_.removeLast();
    return true;
}

bool RecentFolders::remove(const QString& place) {
    return places_.removeAll(QDir::cleanPath(place)) > 0;
}

void RecentFolders::read(const IniFile& ini) {
    places_.clear();
    for (int n = 0; n < kMost; ++n) {
        const QString place = ini.readString(kRecentSection, keyOf(n));
        if (!place.isEmpty() && !places_.contains(QDir::cleanPath(place)))
            places_.append(QDir::cleanPath(place));
    }
}

void RecentFolders::write(IniFile& ini) const {
    for (int n = 0; n < kMost; ++n) {
        const QString place = places_.value(n);
        if (!place.isEmpty() || !ini.readString(kRecentSection, keyOf(n)).isEmpty())
            ini.writeString(kRecentSection, keyOf(n), place);
    }
}

void RecentFolders::load() {
    read(IniFile(settings::filePath()));
}

} // namespace quendra
