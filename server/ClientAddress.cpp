#include "ClientAddress.hpp"

namespace {

constexpr std::size_t kPrefixBytes = 8;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

boost::asio::ip::address unmapped(const boost::asio::ip::address& address) {
    if (address.is_v6() && address.to_v6().is_v4_mapped()) {
        return boost::asio::ip::make_address_v4(boost::asio::ip::v4_mapped, address.to_v6());
    }
    return address;
}

ClientAddress clientOf(const boost::asio::ip::address& peer) {
    const auto address = unmapped(peer);
    ClientAddress client{address.to_string(), address.to_string()};
    if (address.is_v6()) {
        auto bytes = address.to_v6().to_bytes();
        std::fill(bytes.begin() + kPrefixBytes, bytes.end(), 0);
        client.key = boost::asio::ip::address_v6(bytes).to_string() + "/64";
    }
    return client;
}

std::optional<boost::asio::ip::address> parseIpAddress(std::string_view text) {
    text = trimmed(text);
    if (text.size() > 2 && text.front() == '[' && text.back() == ']') {
        text = text.substr(1, text.size() - 2);
    }
    boost::system::error_code failure;
    const auto address = boost::asio::ip::make_address(std::string(text), failure);
    if (failure) {
        return std::nullopt;
    }
    return unmapped(address);
}

std::optional<boost::asio::ip::address> lastForwardedAddress(std::string_view header) {
    const auto comma = header.rfind(',');
    return parseIpAddress(comma == std::string_view::npos ? header : header.substr(comma + 1));
}
