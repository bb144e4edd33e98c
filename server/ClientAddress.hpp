#pragma once

#include <boost/asio/ip/address.hpp>
#include <optional>
#include <string>
#include <string_view>

// Who a request comes from, for the limits per client and the log.
struct ClientAddress {
    // As written in the log: the peer's address, or the one its trusted
    // proxy forwarded.
    std::string shown;
    // What the limits per client count under: an IPv4 address as it is, an
    // IPv6 address by its /64, which one subscriber usually holds whole.
    std::string key;
};

// An IPv4 address written as IPv6 (::ffff:a.b.c.d) is the IPv4 address.
boost::asio::ip::address unmapped(const boost::asio::ip::address& address);

ClientAddress clientOf(const boost::asio::ip::address& address);

// The text as an IP address (an IPv6 one with or without brackets); empty
// when it is none.
std::optional<boost::asio::ip::address> parseIpAddress(std::string_view text);

// The last address of an X-Forwarded-For header: the one the proxy itself
// added, the only one it vouches for. Empty when there is none or it is not
// an address.
std::optional<boost::asio::ip::address> lastForwardedAddress(std::string_view header);
