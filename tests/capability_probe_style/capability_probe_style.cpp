// A Qt style plugin for tests/unprivileged_probe_test.sh. Any local user can make a Qt
// program load it (QT_PLUGIN_PATH, QT_STYLE_OVERRIDE); once loaded it writes what it could
// use to the file VARDELLE_CAPABILITY_REPORT names: the process's effective capabilities
// (the CapEff line of /proc/self/status) and whether a packet socket, which sees and forges
// every frame of the host, opens. Then it ends the program: the test needs nothing more.
#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QStyle>
#include <QStylePlugin>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

void Report(const char* path) {
  std::ofstream report(path);
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("CapEff:")) report << line << '\n';
  }
  const int packetSocket = socket(AF_PACKET, SOCK_RAW, htons(ETH_P_ALL));
  report << "packet socket: " << (packetSocket >= 0 ? "opened" : "refused") << '\n';
}

}  // namespace

class CapabilityProbeStyle : public QStylePlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QStyleFactoryInterface_iid FILE "capability_probe_style.json")

 public:
  QStyle* create(const QString&) override {
    if (const char* path = std::getenv("VARDELLE_CAPABILITY_REPORT")) Report(path);
    std::_Exit(0);
  }
};

#include "capability_probe_style.moc"
