// Tests of the path texts: the host form of a field's path for the existence test.
#include "path_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class PathTextTest : public QObject {
    Q_OBJECT

private slots:
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
