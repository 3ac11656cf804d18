#include "server/Server.h"

#include "server/Accounts.h"
#include "server/Connection.h"
#include "server/Game.h"
#include "server/Log.h"
#include "server/LoginServer.h"
#include "server/ObjectTypes.h"
#include "server/WorldFile.h"
#include "server/WorldMap.h"

#include <asio.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>

namespace server {

namespace fs = std::filesystem;

static std::mutex StopLock;
static asio::io_context* RunningContext = nullptr;
static bool StopRequested = false;

void RequestStop() {
    std::lock_guard<std::mutex> Guard(StopLock);
    StopRequested = true;
    if (RunningContext) asio::post(*RunningContext, [] { RunningContext->stop(); });
}

namespace {
// Accepts connections on one port and hands them to a handler.
class Listener {
  public:
    Listener(asio::io_context& Context, const asio::ip::address& Address, int Port, ConnectionHandler& Handler,
             const char* Kind, std::function<void(const std::shared_ptr<Connection>&)> OnAccept)
        : Acceptor(Context), Handler(Handler), Kind(Kind), OnAccept(std::move(OnAccept)) {
        asio::ip::tcp::endpoint Endpoint(Address, asio::ip::port_type(Port));
        Acceptor.open(Endpoint.protocol());
        Acceptor.set_option(asio::socket_base::reuse_address(true));
        Acceptor.bind(Endpoint);
        Acceptor.listen();
    }
    int Port() const { return Acceptor.local_endpoint().port(); }
    void Start() {
        Acceptor.async_accept([this](std::error_code Error, asio::ip::tcp::socket Socket) {
            if (Error == asio::error::operation_aborted) return;
            if (!Error) {
                auto Client = std::make_shared<Connection>(std::move(Socket), Handler, Kind);
                OnAccept(Client);
                Client->Start();
            } else {
                serverlog::Warning(Kind, "accept failed: %s", Error.message().c_str());
            }
            Start();
        });
    }
    void Stop() {
        std::error_code Ignored;
        Acceptor.close(Ignored);
    }

  private:
    asio::ip::tcp::acceptor Acceptor;
    ConnectionHandler& Handler;
    const char* Kind;
    std::function<void(const std::shared_ptr<Connection>&)> OnAccept;
};

// A timer that calls Work every Period until the loop stops.
class Repeating {
  public:
    Repeating(asio::io_context& Context, int PeriodMs, std::function<void()> Work)
        : Timer(Context), Period(PeriodMs), Work(std::move(Work)) {}
    void Start() {
        Timer.expires_after(std::chrono::milliseconds(Period));
        Timer.async_wait([this](std::error_code Error) {
            if (Error) return;
            Work();
            Start();
        });
    }
    void Stop() { Timer.cancel(); }

  private:
    asio::steady_timer Timer;
    int Period;
    std::function<void()> Work;
};
}  // namespace

static std::string Beside(const std::string& Folder, const char* Name) {
    return (fs::path(Folder.empty() ? DefaultDataDirectory() : Folder) / Name).string();
}

int Run(Config Settings, void (*OnReady)(const BoundPorts&, void*), void* ReadyData, bool HandleSignals) {
    serverlog::SetLevel(Settings.LogLevel);
    asio::io_context Context;
    try {
        fs::create_directories(Settings.StateDir);
        LoadOperatorSettings(Settings);
        accounts::InitAccounts(Settings.StateDir, Settings.WorldName);
        std::string DatFile = Beside(Settings.DataDir, "Vorna.dat");
        objecttypes::LoadObjectTypes(DatFile);
        serverlog::Info("server", "object types from %s: items up to %d", DatFile.c_str(), objecttypes::HighestItem());
        worldmap::InitWorldMap();
        std::string WorldFile = Settings.WorldFile.empty() ? Beside("", "Demoland.world") : Settings.WorldFile;
        game::WorldInfo World = worldfile::LoadWorld(WorldFile);
        serverlog::Info("server", "world \"%s\" from %s: %zu fields, %zu creatures", World.Name.c_str(),
                        WorldFile.c_str(), worldmap::FieldCount(), World.Spawns.size());
        game::InitGame(Settings, World);
    } catch (const std::exception& Problem) {
        serverlog::Error("server", "cannot start: %s", Problem.what());
        accounts::ExitAccounts();
        objecttypes::UnloadObjectTypes();
        worldmap::ExitWorldMap();
        return 1;
    }

    std::unique_ptr<Listener> Login, TestLogin, Game;
    BoundPorts Ports;
    try {
        asio::ip::address Address = asio::ip::make_address(Settings.Host);
        Game = std::make_unique<Listener>(Context, Address, Settings.GamePort, game::Handler(), "game",
                                          [](const std::shared_ptr<Connection>& C) { game::Accepted(C); });
        Ports.Game = Game->Port();
        // The character list names the game world's address; a server that
        // listens on every address names loopback.
        std::array<uint8_t, 4> WorldAddress{127, 0, 0, 1};
        if (Address.is_v4() && !Address.is_unspecified()) WorldAddress = Address.to_v4().to_bytes();
        loginserver::InitLoginServer(Settings, WorldAddress, Ports.Game);
        auto OnLogin = [](const std::shared_ptr<Connection>& C) { loginserver::Accepted(C); };
        Login = std::make_unique<Listener>(Context, Address, Settings.LoginPort, loginserver::Handler(), "login", OnLogin);
        TestLogin = std::make_unique<Listener>(Context, Address, Settings.TestLoginPort, loginserver::Handler(),
                                               "test-login", OnLogin);
        Ports.Login = Login->Port();
        Ports.TestLogin = TestLogin->Port();
    } catch (const std::exception& Problem) {
        serverlog::Error("server", "cannot listen on %s: %s", Settings.Host.c_str(), Problem.what());
        game::ExitGame();
        loginserver::ExitLoginServer();
        accounts::ExitAccounts();
        objecttypes::UnloadObjectTypes();
        worldmap::ExitWorldMap();
        return 1;
    }
    Login->Start();
    TestLogin->Start();
    Game->Start();
    serverlog::Info("server", "listening on %s: login %d, test login %d, game %d", Settings.Host.c_str(), Ports.Login,
                    Ports.TestLogin, Ports.Game);

    Repeating Beat(Context, Settings.Beat, [] { game::Tick(); });
    Repeating Second(Context, 1000, [] {
        loginserver::Sweep();
        game::Sweep();
    });
    Beat.Start();
    Second.Start();

    asio::signal_set Signals(Context);
    if (HandleSignals) {
        Signals.add(SIGINT);
        Signals.add(SIGTERM);
        Signals.async_wait([&Context](std::error_code Error, int Number) {
            if (Error) return;
            serverlog::Info("server", "signal %d: stopping", Number);
            Context.stop();
        });
    }
    {
        std::lock_guard<std::mutex> Guard(StopLock);
        RunningContext = &Context;
        if (StopRequested) Context.stop();
    }
    if (OnReady) asio::post(Context, [&] { OnReady(Ports, ReadyData); });
    Context.run();

    // The loop has stopped: save, then let the connections close cleanly.
    {
        std::lock_guard<std::mutex> Guard(StopLock);
        RunningContext = nullptr;
        StopRequested = false;
    }
    Login->Stop();
    TestLogin->Stop();
    Game->Stop();
    Beat.Stop();
    Second.Stop();
    std::error_code Ignored;
    Signals.cancel(Ignored);
    game::ExitGame();
    loginserver::ExitLoginServer();
    Context.restart();
    Context.run_for(std::chrono::milliseconds(200));
    accounts::ExitAccounts();
    objecttypes::UnloadObjectTypes();
    worldmap::ExitWorldMap();
    serverlog::Info("server", "stopped");
    return 0;
}

}  // namespace server
