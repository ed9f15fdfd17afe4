// The yardstick for the game's start-up: a bare Qt Widgets window of the
// game's size with a few labels and a few small picture squares, and nothing
// else. Whatever the game costs above this is the game's own doing.

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <string>

#include "bench/first_frame.h"

namespace {

class PictureSquare : public QWidget {
public:
    PictureSquare(const QString& file, QWidget* parent) : QWidget(parent), pixmap_(file) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap((width() - pixmap_.width()) / 2, (height() - pixmap_.height()) / 2, pixmap_);
    }

private:
    QPixmap pixmap_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_FOLDER\n", argv[0]);
        return 2;
    }
    const QString resources = QString::fromLocal8Bit(argv[1]);
    QApplication app(argc, argv);
    app.installEventFilter(new bench::FirstFrameFilter([] {
        bench::PrintFirstFrame(bench::MonotonicNs());
        QCoreApplication::quit();
    }));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Reference"));
    window.setFixedSize(762, 602);
    const char* texts[] = {"SCORE:", "0", "High Score:", "20", "Your Turn"};
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(QString::fromLatin1(texts[i]), &window);
        label->setGeometry(420, 60 + 40 * i, 200, 24);
    }
    const char* pictures[] = {"white.png", "red.png", "blue.png", "green.png", "yellow.png"};
    for (int i = 0; i < 5; ++i) {
        auto* square = new PictureSquare(resources + QLatin1Char('/') + QLatin1String(pictures[i]), &window);
        square->setGeometry(80 + 66 * i, 156, 64, 64);
    }
    window.show();
    return app.exec();
}
