// One kept-alive connection against a loopback server that answers with
// raw bytes: each way of ending an answer must leave the connection exactly
// at the next answer, or closed.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "linkcheck/HttpConnection.h"

namespace {

// Answers each request, in turn, with the next of Answers; after one marked
// Close it closes the connection.
class TRawServer : public QTcpServer {
public:
    struct TAnswer {
        QByteArray Bytes;
        bool Close = false;
    };
    std::vector<TAnswer> Answers;
    int Connections = 0;

    TRawServer()
    {
        listen(QHostAddress(QStringLiteral("127.0.0.1")));
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                ++Connections;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    FPending += socket->readAll();
                    for (qsizetype end;
                         (end = FPending.indexOf("\r\n\r\n")) >= 0 && FNext < Answers.size();) {
                        FPending.remove(0, end + 4);
                        const TAnswer& answer = Answers[FNext++];
                        socket->write(answer.Bytes);
                        if (answer.Close) {
                            socket->disconnect(this);
                            socket->disconnectFromHost();
                            break;
                        }
                    }
                });
            }
        });
    }
    QUrl Url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/page").arg(serverPort())); }

private:
    QByteArray FPending;
    std::size_t FNext = 0;
};

// Two requests on one connection; the second is asked from inside the first
// answer, before the connection has seen what followed it.
std::pair<TLinkAnswer, TLinkAnswer> AskTwice(THttpConnection& connection, const QUrl& url)
{
    std::pair<TLinkAnswer, TLinkAnswer> answers;
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    connection.Get(url, [&](const TLinkAnswer& first) {
        answers.first = first;
        connection.Get(url, [&](const TLinkAnswer& second) {
            answers.second = second;
            loop.quit();
        });
    });
    loop.exec();
    return answers;
}

}  // namespace

TEST(HttpConnection, EachWayOfEndingAnAnswerLeavesTheConnectionReadyOrClosed)
{
    const QByteArray next = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
    struct TRow {
        const char* Name;
        TRawServer::TAnswer First;
        int Status;
        QString Location;
        int Connections;  // 1: the second request went on the same connection
    };
    const std::vector<TRow> rows = {
        {"length", {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello"}, 200, {}, 1},
        {"chunks",
         {"HTTP/1.1 404 Not Found\r\nTransfer-Encoding: chunked\r\n\r\n5;x=y\r\nhello\r\n3\r\nabc\r\n"
          "0\r\nX-Trailer: 1\r\n\r\n"},
         404,
         {},
         1},
        {"interim", {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 204 No Content\r\n\r\n"}, 204, {}, 1},
        {"close",
         {"HTTP/1.1 301 Moved\r\nLocation: /b\r\nConnection: close\r\nContent-Length: 3\r\n\r\nabc"},
         301,
         "/b",
         2},
        {"until close", {"HTTP/1.1 302 Found\nlocation: /c\n\nbody", true}, 302, "/c", 2},
        {"large", {"HTTP/1.1 200 OK\r\nContent-Length: 99999999\r\n\r\nxx"}, 200, {}, 2},
        {"closed unannounced", {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", true}, 200, {}, 2},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TRawServer server;
        server.Answers = {row.First, {next}};
        THttpConnection connection("test", 1000, nullptr);
        const auto [first, second] = AskTwice(connection, server.Url());
        EXPECT_EQ(first.Status, row.Status);
        EXPECT_EQ(first.Failure, TLinkReason::None);
        EXPECT_EQ(first.Location, row.Location);
        EXPECT_EQ(second.Status, 200);
        EXPECT_EQ(server.Connections, row.Connections);
    }
}

TEST(HttpConnection, WhatIsNotAnAnswerFails)
{
    TRawServer server;
    server.Answers = {{"SSH-2.0-elsewhere\r\n\r\n"},
                      {"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nshort", true}};
    THttpConnection connection("test", 1000, nullptr);
    const auto [garbage, cut] = AskTwice(connection, server.Url());
    EXPECT_EQ(garbage.Failure, TLinkReason::Network);
    EXPECT_EQ(garbage.Status, 0);
    EXPECT_EQ(cut.Status, 200) << "a cut body still brought its status";
}
