// Answers that cannot be the servers': a proxy client in TUN mode answers every echo itself,
// in well under a millisecond and for addresses that do not even exist, and in "fake-IP" mode
// its resolver hands out addresses of its own range for every name. Such rows are told, not
// shown as a fast server. Everything here is a pure judgement of the table's texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/view/main_window_view.h"
#include "support/text/text.h"

namespace vardelle {

// An IPv4 range in CIDR form, as a setting writes it ("198.18.0.0/15").
struct AddressRange {
  std::uint32_t first = 0;  // host order, the bits past the prefix zero
  int prefixLength = 32;
  friend bool operator==(const AddressRange&, const AddressRange&) = default;
};

// The range proxy clients take their fake addresses from unless a setting names another.
inline constexpr char kProxyFakeAddressRange[] = "198.18.0.0/15";

// "a.b.c.d/n" (n 0 to 32); nothing for any other text.
std::optional<AddressRange> ParseAddressRange(std::string_view text);
AddressRange ProxyFakeAddresses();

// address is a dotted IPv4 address inside range.
bool IsInRange(std::string_view address, const AddressRange& range);

// Loopback, the private and link-local networks and the carriers' shared space (IPv4), and
// loopback, link-local and unique local addresses (IPv6): a machine this close may answer
// within a millisecond.
bool IsNearbyAddress(std::string_view address);

// The cells of a row whose address is a proxy's fake one.
Text FakeAddressCell(const std::string& address);      // "198.18.0.7（代理假地址）"
Text FakeAddressLatencyCell(const Text& latencyCell);  // "0ms（非服务器延迟）"
// Its location cell, which no lookup is asked for.
Text FakeAddressLocationCell();

// One answered row of a tick, as the judgement sees it.
struct AnsweredRow {
  RowId row;
  std::string address;
  int milliseconds = 0;  // whole milliseconds, as the probes give them
};

// The rows whose answers cannot be the servers': each remote row that answered within a
// millisecond, or, when at least four remote rows on at least two /16 networks answered, all
// of them if they lie within one millisecond of each other (real servers sit in rooms across
// the country, a proxy answers for all of them alike). Nearby addresses (loopback, the LAN)
// and fake ones (told on their own) are never judged.
std::vector<RowId> InterceptedRows(const std::vector<AnsweredRow>& answered,
                                   const AddressRange& fakeAddresses);

// What the status line adds once when rows hold fake addresses or intercepted answers: what it
// means and what to do; "" when neither.
Text HonestAnswersNote(bool fakeAddresses, bool intercepted);
// The tooltip of an intercepted row.
Text InterceptedRowNote();

}  // namespace vardelle
