#include "tests/support/dmx_watcher.h"

#include <ola/Callback.h>
#include <ola/Logging.h>
#include <ola/network/IPV4Address.h>
#include <ola/network/SocketAddress.h>

#include "tests/support/steady_ns.h"

DmxWatcher::DmxWatcher(std::uint16_t port, unsigned universe, unsigned channel)
    : port_(port), universe_(universe), channel_(channel) {}

DmxWatcher::~DmxWatcher() {
  if (thread_.joinable()) {
    ss_.Terminate();
    thread_.join();
  }
  if (socket_) ss_.RemoveReadDescriptor(socket_.get());
  if (client_) client_->Stop();
  if (socket_) socket_->Close();
}

bool DmxWatcher::start() {
  ola::InitLogging(ola::OLA_LOG_WARN, ola::OLA_LOG_STDERR);
  socket_.reset(ola::network::TCPSocket::Connect(
      ola::network::IPV4SocketAddress(ola::network::IPV4Address::Loopback(), port_)));
  if (!socket_) return false;
  socket_->SetNoDelay();
  client_ = std::make_unique<ola::client::OlaClient>(socket_.get());
  if (!client_->Setup()) return false;
  ss_.AddReadDescriptor(socket_.get());
  client_->SetDMXCallback(ola::NewCallback(this, &DmxWatcher::onDmx));
  client_->RegisterUniverse(universe_, ola::client::REGISTER, ola::NewSingleCallback(this, &DmxWatcher::onRegistered));
  for (int i = 0; i < 100 && registered_ == 0; ++i) ss_.RunOnce(ola::TimeInterval(0, 10000));
  if (registered_ != 1) return false;
  thread_ = std::thread([this] { ss_.Run(); });
  return true;
}

void DmxWatcher::onRegistered(const ola::client::Result& result) { registered_ = result.Success() ? 1 : -1; }

void DmxWatcher::onDmx(const ola::client::DMXMetadata& meta, const ola::DmxBuffer& data) {
  const std::int64_t now = steadyNs();
  if (meta.universe != universe_) return;
  std::lock_guard lock(mutex_);
  frames_.push_back({now, data.Get(channel_ - 1)});
}

std::vector<DmxWatcher::Frame> DmxWatcher::frames() {
  std::lock_guard lock(mutex_);
  return frames_;
}

std::vector<std::int64_t> DmxWatcher::risesNs() {
  std::vector<std::int64_t> rises;
  std::uint8_t last = 0;
  for (const Frame& f : frames()) {
    if (f.value >= 128 && last < 128) rises.push_back(f.arrivedNs);
    last = f.value;
  }
  return rises;
}
