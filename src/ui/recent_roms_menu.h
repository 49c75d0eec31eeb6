#pragma once
// File > Recent ROMs: the last ROM images opened, latest first, each by its
// file name (with its folder where two share a name) and its full path as a
// tooltip.

#include <QObject>
#include <QString>

class QMenu;

namespace qm {

class AppSettings;

class RecentRomsMenu : public QObject {
    Q_OBJECT
  public:
    RecentRomsMenu(QMenu& menu, AppSettings& settings);

    /// Puts path at the top of the list.
    void remember(const QString& path);
    /// Takes path off the list.
    void forget(const QString& path);

  signals:
    void openRequested(const QString& path);

  private:
    void refill();

    QMenu& menu_;
    AppSettings& settings_;
};

}  // namespace qm
