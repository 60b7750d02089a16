#include "ui/Dialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// The file dialogs' starting folder, and the filters as the Qt dialogs want them.
class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void folderStartsInDocumentsThenFollowsTheUser();
    void filtersInQtForm();
};

void TestDialogs::folderStartsInDocumentsThenFollowsTheUser()
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    ui::DialogFolder folder;
    // No Documents folder: home, not the folder the program was started from.
    QCOMPARE(folder.start(), QDir(home.path()).absolutePath());
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    QCOMPARE(folder.start(), QDir(home.path()).absoluteFilePath(QStringLiteral("Documents")));

    folder.chosen(home.filePath(QStringLiteral("cells/a.Dvm")));
    QCOMPARE(folder.start(), home.filePath(QStringLiteral("cells")));
    folder.chosen(QString()); // cancelled
    QCOMPARE(folder.start(), home.filePath(QStringLiteral("cells")));
}

void TestDialogs::filtersInQtForm()
{
    QCOMPARE(ui::qtFilter(QStringLiteral("Dorvel (*.Dvm)|*.Dvm|All Files (*.*)|*.*|")),
             QStringLiteral("Dorvel (*.Dvm);;All Files (*)"));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
