#include <QTest>
class TestSelectionActe : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(TestSelectionActe)
#include "tst_selectionacte.moc"
