#pragma once

// Screenshots for looking at by hand: with VELTRA_SHOT_DIR set, a test saves
// what a window looks like at an interesting moment.
#include <QDir>
#include <QString>
#include <QWidget>

inline void saveShot(QWidget *window, const QString &name)
{
    const QString dir = qEnvironmentVariable("VELTRA_SHOT_DIR");
    if (dir.isEmpty() || !window)
        return;
    QDir().mkpath(dir);
    window->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}
