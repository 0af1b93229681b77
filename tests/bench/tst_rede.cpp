// The relay of the network bench: it holds each round trip for its delay,
// lets data through at no more than its bandwidth, and counts the turns of
// the conversation. What it adds can only be waited for, never skipped, so
// the times here are lower bounds that no machine can beat.
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {

// A relay in front of an echo server on the loopback.
struct RelayedEcho
{
    QTcpServer echo;
    QProcess relay;
    int port = 0;

    RelayedEcho(int delayMs, int megabits)
    {
        echo.listen(QHostAddress::LocalHost);
        QObject::connect(&echo, &QTcpServer::newConnection, &echo, [this] {
            QTcpSocket *peer = echo.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, peer, [peer] { peer->write(peer->readAll()); });
        });
        port = 30000 + int(QCoreApplication::applicationPid() % 20000);
        relay.start(QStringLiteral(KELMARA_RELAY), {QString::number(port), QString::number(echo.serverPort()),
                                                     QString::number(delayMs), QString::number(megabits), "60"});
        relay.waitForReadyRead(5000);
        relay.readLine(); // "pronto"
    }
    ~RelayedEcho()
    {
        relay.closeWriteChannel();
        relay.waitForFinished(5000);
    }
    QList<QByteArray> counts()
    {
        relay.write("?\n");
        while (!relay.canReadLine() && relay.waitForReadyRead(5000)) {
        }
        return relay.readLine().trimmed().split(' ');
    }
};

// Sends `bytes` and waits, serving the echo, until they all came back.
void exchange(QTcpSocket &socket, const QByteArray &bytes)
{
    socket.write(bytes);
    qint64 back = 0;
    while (back < bytes.size() && socket.state() == QAbstractSocket::ConnectedState) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        back += socket.readAll().size();
    }
}

} // namespace

class TestRelay : public QObject
{
    Q_OBJECT
private slots:
    void eachRoundTripTakesItsDelayAndIsCounted()
    {
        RelayedEcho link(100, 1000);
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(link.port));
        QVERIFY(socket.waitForConnected(5000));
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 5; ++i)
            exchange(socket, "ping");
        QVERIFY2(clock.elapsed() >= 5 * 100, qPrintable(QString::number(clock.elapsed())));
        const QList<QByteArray> counts = link.counts();
        QCOMPARE(counts.value(1).toInt(), 5);        // round trips
        QCOMPARE(counts.value(3).toLongLong(), 5 * 8); // bytes, both ways
        QCOMPARE(counts.value(5).toInt(), 5);        // the first connection's own
    }

    void dataGoesNoFasterThanTheBandwidth()
    {
        RelayedEcho link(0, 2); // 2 Mbit/s: 250 KB take a second (each way, but the two overlap)
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(link.port));
        QVERIFY(socket.waitForConnected(5000));
        QElapsedTimer clock;
        clock.start();
        exchange(socket, QByteArray(250000, 'x'));
        QVERIFY2(clock.elapsed() >= 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(link.counts().value(3).toLongLong(), 2 * 250000);
    }
};

QTEST_MAIN(TestRelay)
#include "tst_rede.moc"
