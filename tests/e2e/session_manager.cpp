// The smallest session manager that ends a desktop session the way a
// logout does, for one client: it prints its address (the value for
// SESSION_MANAGER), waits for the client to register, and on a line from
// standard input asks it to save for a shutdown; once the client reports
// its save done it tells it to die. Progress goes to standard output:
// "registered", "saved", "closed". Exits when the client has gone, or with
// status 1 after the time limit.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

SmsConn Client = nullptr;
bool Closed = false;

void Say(const char* word)
{
    std::printf("%s\n", word);
    std::fflush(stdout);
}

Status RegisterClient(SmsConn connection, SmPointer, char* previousId)
{
    std::free(previousId);
    SmsRegisterClientReply(connection, SmsGenerateClientID(connection));
    Client = connection;
    Say("registered");
    return 1;
}

void InteractRequest(SmsConn connection, SmPointer, int)
{
    SmsInteract(connection);
}

void InteractDone(SmsConn, SmPointer, Bool)
{ }

void SaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool)
{ }

void SaveYourselfPhase2Request(SmsConn connection, SmPointer)
{
    SmsSaveYourselfPhase2(connection);
}

void SaveYourselfDone(SmsConn connection, SmPointer, Bool)
{
    Say("saved");
    SmsDie(connection);
}

void CloseConnection(SmsConn connection, SmPointer, int count, char** reasons)
{
    SmFreeReasons(count, reasons);
    IceConn ice = SmsGetIceConnection(connection);
    SmsCleanUp(connection);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    Closed = true;
    Say("closed");
}

void SetProperties(SmsConn, SmPointer, int count, SmProp** properties)
{
    for (int i = 0; i < count; ++i)
        SmFreeProperty(properties[i]);
    std::free(properties);
}

void DeleteProperties(SmsConn, SmPointer, int count, char** names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

void GetProperties(SmsConn connection, SmPointer)
{
    SmsReturnProperties(connection, 0, nullptr);
}

Status NewClient(SmsConn, SmPointer, unsigned long* mask, SmsCallbacks* callbacks, char**)
{
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask
            | SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask
            | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask
            | SmsGetPropertiesProcMask;
    callbacks->register_client.callback = RegisterClient;
    callbacks->interact_request.callback = InteractRequest;
    callbacks->interact_done.callback = InteractDone;
    callbacks->save_yourself_request.callback = SaveYourselfRequest;
    callbacks->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
    callbacks->save_yourself_done.callback = SaveYourselfDone;
    callbacks->close_connection.callback = CloseConnection;
    callbacks->set_properties.callback = SetProperties;
    callbacks->delete_properties.callback = DeleteProperties;
    callbacks->get_properties.callback = GetProperties;
    return 1;
}

// Only programs of this machine's users can reach the socket of a test.
Bool AnyLocalHost(char*)
{
    return True;
}

}  // namespace

int main()
{
    char error[256] = "";
    if (!SmsInitialize("linkrake-test", "1.0", NewClient, nullptr, AnyLocalHost, sizeof error, error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 2;
    }
    int listenerCount = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&listenerCount, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 2;
    }
    for (int i = 0; i < listenerCount; ++i)
        IceSetHostBasedAuthProc(listeners[i], AnyLocalHost);
    Say(IceComposeNetworkIdList(listenerCount, listeners));

    std::vector<IceConn> connections;
    bool asked = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!Closed && std::chrono::steady_clock::now() < deadline) {
        std::vector<pollfd> watched;
        for (int i = 0; i < listenerCount; ++i)
            watched.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn connection : connections)
            watched.push_back({IceConnectionNumber(connection), POLLIN, 0});
        const bool waitingForLogout = !asked && Client;
        if (waitingForLogout)
            watched.push_back({STDIN_FILENO, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), 200) <= 0)
            continue;
        for (int i = 0; i < listenerCount; ++i) {
            if (!(watched[static_cast<std::size_t>(i)].revents & POLLIN))
                continue;
            IceAcceptStatus status;
            if (IceConn connection = IceAcceptConnection(listeners[i], &status))
                connections.push_back(connection);
        }
        for (std::size_t i = 0; i < connections.size(); ++i) {
            if (!(watched[static_cast<std::size_t>(listenerCount) + i].revents & (POLLIN | POLLHUP)))
                continue;
            if (IceProcessMessages(connections[i], nullptr, nullptr) == IceProcessMessagesIOError) {
                IceSetShutdownNegotiation(connections[i], False);
                IceCloseConnection(connections[i]);
                connections.erase(connections.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
        }
        if (waitingForLogout && (watched.back().revents & (POLLIN | POLLHUP))) {
            char line[64];
            [[maybe_unused]] const ssize_t got = ::read(STDIN_FILENO, line, sizeof line);
            SmsSaveYourself(Client, SmSaveBoth, True, SmInteractStyleAny, False);
            asked = true;
        }
    }
    return Closed ? 0 : 1;
}
