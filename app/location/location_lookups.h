// The location lookups of the loading, run beside it: at most kMaxLookupsInFlight at once
// on threads of their own, each result handed to its own delivery (the row's cell, by the
// row's identity). Loading goes on while they run, so the first test run never waits for a
// location service that is slow to answer.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "support/text/text.h"

namespace vardelle {

class LocationLookups {
 public:
  static constexpr int kMaxLookupsInFlight = 8;

  using LookUp = std::function<Text(const std::string& address)>;
  using Deliver = std::function<void(const Text& result)>;

  LocationLookups();
  // Waits for the lookups still queued or running (see Wait).
  ~LocationLookups();
  LocationLookups(const LocationLookups&) = delete;
  LocationLookups& operator=(const LocationLookups&) = delete;

  // Queues lookUp(address) and hands its result to deliver, on a lookup thread. Both are
  // copied and run on that thread; whatever they reach must outlive the lookup (wait for it
  // with Wait). An exception from either is swallowed: that lookup delivers nothing more.
  // Returns at once, unless no thread can be started at all, when the lookup runs here.
  void Start(std::string address, LookUp lookUp, Deliver deliver);

  // Program end: the lookups not begun yet are dropped, and so is every lookup started from
  // now on; the ones running go on (each bounded by its request time-outs) and Wait waits
  // for them alone.
  void Stop();

  // Blocks until every lookup started so far has delivered its result. Must not be called on
  // a thread that a delivery waits for (the window's thread, when delivering writes cells
  // through the window). Each lookup is bounded by its request time-outs.
  void Wait();
  // Wait as a call of its own, which keeps what it waits on: it may run after this object
  // has gone (a thread keeping a delivery's target alive until the lookups are done).
  std::function<void()> Waiter() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared;
};

}  // namespace vardelle
