#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.hpp"
#include "app/files/Files.hpp"
#include "sim/base/FileBytes.hpp"

TEST(ReadWholeFile, MissingEmptyFolderAndBinary) {
    TempFolder folder;
    EXPECT_FALSE(readWholeFile(folder.file("missing")).has_value());
    // A folder is not a file, whatever the stream library thinks of it.
    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_FALSE(readWholeFile(folder.file("sub")).has_value());

    writeFileBytes(folder.file("empty"), "");
    const auto empty = readWholeFile(folder.file("empty"));
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());

    const std::string bytes("a\0b\r\nc\xff", 7);
    writeFileBytes(folder.file("bin"), bytes);
    const auto read = readWholeFile(folder.file("bin"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(std::string(read->begin(), read->end()), bytes);
}

TEST(LoadImage, BrokenOrMissingLeavesAnEmptyPicture) {
    TempFolder folder;
    sf::Image image;
    image.create(4, 4, sf::Color::Red);
    writeFileBytes(folder.file("broken.png"), "\x89PNG\r\n\x1a\nnot really");
    EXPECT_FALSE(loadImage(image, folder.file("broken.png")));
    EXPECT_EQ(image.getSize(), sf::Vector2u(0, 0));
    EXPECT_FALSE(loadImage(image, folder.file("missing.png")));
    std::filesystem::create_directory(folder.file("folder.png"));
    EXPECT_FALSE(loadImage(image, folder.file("folder.png")));
}
