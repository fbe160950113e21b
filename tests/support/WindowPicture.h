#pragma once
// For the programs that draw the screenshots in docs/screenshots: shows a window, lets it settle
// and writes what it draws to a PNG file, saying so on standard output.
#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <cstdio>

namespace kelto::test {

inline bool saveWindowPicture(QWidget& window, const QString& file) {
    window.show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    const bool saved = window.grab().save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", file.toUtf8().constData());
    return saved;
}

}  // namespace kelto::test
