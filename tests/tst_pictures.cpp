// The window pictures are drawn by code (level/resources/drawpictures.cpp,
// distance/resources/drawpictures.cpp). These tests run both generators and
// check that they still draw the pictures the windows load, so a change to
// either the code or the files cannot pass unnoticed.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestPictures : public QObject
{
    Q_OBJECT
private slots:
    void generatorDrawsThePicturesInUse_data();
    void generatorDrawsThePicturesInUse();
};

// clang-format off
void TestPictures::generatorDrawsThePicturesInUse_data()
{
    QTest::addColumn<QString>("generator");
    QTest::addColumn<QString>("resources");
    QTest::addColumn<QString>("file");
    const QString level = QStringLiteral(VELTRA_LEVEL_PICTURES);
    const QString distance = QStringLiteral(VELTRA_DISTANCE_PICTURES);
    const QString source = QStringLiteral(VELTRA_SOURCE_DIR);
    QTest::newRow("level background") << level << source + "/level/resources" << "background.png";
    QTest::newRow("level product") << level << source + "/level/resources" << "product.png";
    QTest::newRow("distance product") << distance << source + "/distance/resources" << "product.png";
    QTest::newRow("distance sensor") << distance << source + "/distance/resources" << "sensor.png";
}
// clang-format on

void TestPictures::generatorDrawsThePicturesInUse()
{
    QFETCH(QString, generator);
    QFETCH(QString, resources);
    QFETCH(QString, file);

    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess run;
    run.start(generator, {out.path()});
    QVERIFY2(run.waitForFinished(30000), qPrintable(run.errorString()));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);

    const QImage drawn = QImage(out.filePath(file)).convertToFormat(QImage::Format_RGB32);
    const QImage inUse = QImage(resources + QLatin1Char('/') + file).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!drawn.isNull());
    QVERIFY(!inUse.isNull());
    QCOMPARE(drawn.size(), inUse.size());

    // Text is drawn with whatever DejaVu Sans the machine has, so a few
    // pixels of lettering may differ; the drawing itself may not.
    qsizetype differing = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = inUse.pixel(x, y);
            const int delta = qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
            if (delta > 24)
                ++differing;
        }
    }
    const double share = double(differing) / (double(drawn.width()) * drawn.height());
    QVERIFY2(share < 0.01, qPrintable(QStringLiteral("%1 of the pixels differ").arg(share)));
}

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
