// An httplib server on a free loopback port that a test starts for itself, and for the TLS
// tests a self-signed certificate. Tests that only need scripted bytes include
// raw_socket_server.h and read no HTTP library.
#pragma once

#include <httplib.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "testing/loopback.h"
#include "testing/raw_socket_server.h"

#ifndef _WIN32
#include <unistd.h>

#include <cstdlib>
#endif

namespace vardelle::testing {

// Handlers are registered on Server() before Start().
class LoopbackHttpServer {
 public:
  explicit LoopbackHttpServer(
      std::unique_ptr<httplib::Server> server = std::make_unique<httplib::Server>())
      : server_(std::move(server)) {}
  ~LoopbackHttpServer() {
    server_->stop();
    if (thread_.joinable()) thread_.join();
  }

  httplib::Server& Server() { return *server_; }

  // False when the server could not listen; the test should then fail. Another loopback
  // address than 127.0.0.1 lets a test tell two sites apart by address.
  bool Start(const std::string& address = "127.0.0.1") {
    address_ = address;
    port_ = server_->bind_to_any_port(address);
    if (port_ <= 0) return false;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server that is already running.
    const auto deadline = std::chrono::steady_clock::now() + kServerWaitLimit;
    while (!server_->is_running() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return server_->is_running();
  }

  int Port() const { return port_; }
  std::string Url(const std::string& path, const std::string& scheme = "http") const {
    return LoopbackUrl(scheme, port_, path, address_);
  }

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::string address_;
  int port_ = 0;
};

#ifndef _WIN32
// A self-signed certificate for 127.0.0.1 and its key, made with the openssl tool in a
// fresh temporary directory; Ready() is false when that is not possible. For the TLS
// servers, which only the Linux build's httplib offers (with OpenSSL).
class SelfSignedCertificate {
 public:
  SelfSignedCertificate() {
    char pattern[] = "/tmp/vardelle-tls-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return;
    directory_ = pattern;
    const std::string command =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
        " -addext subjectAltName=IP:127.0.0.1 -keyout " +
        Key() + " -out " + Certificate() + " >/dev/null 2>&1";
    ready_ = std::system(command.c_str()) == 0;
  }
  ~SelfSignedCertificate() {
    if (directory_.empty()) return;
    ::unlink(Certificate().c_str());
    ::unlink(Key().c_str());
    ::rmdir(directory_.c_str());
  }
  SelfSignedCertificate(const SelfSignedCertificate&) = delete;
  SelfSignedCertificate& operator=(const SelfSignedCertificate&) = delete;

  bool Ready() const { return ready_; }
  std::string Certificate() const { return directory_ + "/cert.pem"; }
  std::string Key() const { return directory_ + "/key.pem"; }

 private:
  std::string directory_;
  bool ready_ = false;
};

#endif

}  // namespace vardelle::testing
