#include <gtest/gtest.h>

#include <string>

#include "app/Sha256.hpp"

// The FIPS 180-2 examples, and lengths on both sides of the padding edges
// (55 bytes is the longest message whose length fits in its own block).
TEST(Sha256, StandardVectorsAndPaddingEdges) {
    struct Case {
        std::string message;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {std::string(55, 'x'), "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072"},
        {std::string(56, 'x'), "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e"},
        {std::string(63, 'x'), "75220b47218278e656f2013bb8f0c455a25eaf01e86c64924e9d48d89776d6f2"},
        {std::string(64, 'x'), "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c"},
        {std::string(119, 'x'), "000b48d4edf0fa7bee3c6236ecd2785baa5db4eeb8bb54341b029e0d9fa5fb0c"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sha256Hex(c.message), c.digest) << c.message.size() << " bytes";
        EXPECT_TRUE(isSha256Hex(c.digest));
    }
    // Bytes above 127 are bytes, not negative numbers.
    EXPECT_EQ(sha256Hex("\xff"),
              "a8100ae6aa1940d0b663bb31cd466142ebbdbd5187131b92d93818987832eb89");
    for (const char* text :
         {"", "abc", "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855",
          "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b85g"}) {
        EXPECT_FALSE(isSha256Hex(text)) << text;
    }
}
