#include "recent_roms_menu.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "app_settings.h"

namespace qm {

namespace {

// A recent file's name, with its folder where another entry has the same name.
QString recentRomLabel(const QStringList& recent, qsizetype index) {
    const QFileInfo file(recent[index]);
    for (qsizetype other = 0; other < recent.size(); ++other) {
        if (other != index && QFileInfo(recent[other]).fileName() == file.fileName()) {
            return QStringLiteral("%1 (%2)").arg(file.fileName(),
                                                 QDir::toNativeSeparators(file.absolutePath()));
        }
    }
    return file.fileName();
}

}  // namespace

RecentRomsMenu::RecentRomsMenu(QMenu& menu, AppSettings& settings)
    : QObject(&menu), menu_(menu), settings_(settings) {
    menu_.setToolTipsVisible(true);
    refill();
}

void RecentRomsMenu::remember(const QString& path) {
    if (settings_.recentRoms().value(0) != path) {  // else already at the top
        settings_.rememberRecentRom(path);
        refill();
    }
}

void RecentRomsMenu::forget(const QString& path) {
    settings_.forgetRecentRom(path);
    refill();
}

void RecentRomsMenu::refill() {
    menu_.clear();
    const QStringList recent = settings_.recentRoms();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        QAction* item =
            menu_.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(recentRomLabel(recent, i)));
        item->setStatusTip(recent[i]);
        item->setToolTip(recent[i]);
        connect(item, &QAction::triggered, this,
                [this, path = recent[i]] { emit openRequested(path); });
    }
    menu_.setEnabled(!recent.isEmpty());
}

}  // namespace qm
