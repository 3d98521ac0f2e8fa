// Tests of the path texts: backslashes for the fields, host form for the existence test.
#include "path_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class PathTextTest : public QObject {
    Q_OBJECT

private slots:
    void toBackslashes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("absolute") << "/home/ann/demo.Uv2" << "\\home\\ann\\demo.Uv2";
        QTest::newRow("drive and mixed") << "C:/keil\\app/demo.Uv2" << "C:\\keil\\app\\demo.Uv2";
        QTest::newRow("doubled slashes kept doubled") << "//server//share" << "\\\\server\\\\share";
        QTest::newRow("no slash") << "demo.Uv2" << "demo.Uv2";
        QTest::newRow("empty") << "" << "";
    }

    void toBackslashes()
    {
        QFETCH(QString, path);
        QTEST(::toBackslashes(path), "expected");
    }

    void existence_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<bool>("exists");
        QTest::newRow("file") << "sub/file.p_c" << true;
        QTest::newRow("folder") << "sub" << true;
        QTest::newRow("missing") << "sub/other.p_c" << false;
        QTest::newRow("one letter short") << "su" << false;
#ifndef Q_OS_WIN
        // Fields hold backslashes; the host takes them as separators for the test only.
        QTest::newRow("backslash form") << "sub\\file.p_c" << true;
#endif
    }

    void existence()
    {
        QFETCH(QString, relativePath);
        QFETCH(bool, exists);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
        QFile file(folder.filePath(QStringLiteral("sub/file.p_c")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        QCOMPARE(pathExists(folder.path() + QLatin1Char('/') + relativePath), exists);
        // Relative texts start at the current folder.
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        const bool relativeExists = pathExists(relativePath);
        QDir::setCurrent(previous);
        QCOMPARE(relativeExists, exists);
    }

    void emptyTextNamesNothing()
    {
        QVERIFY(!pathExists(QString()));
    }
};

QTEST_GUILESS_MAIN(PathTextTest)
#include "path_text_test.moc"
