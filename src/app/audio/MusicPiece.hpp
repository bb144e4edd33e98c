#pragma once

#include <string>
#include <vector>

struct _Mix_Music;

// One piece of music, kept as its compressed file and decoded by the mixer a
// little at a time while it plays: a few megabytes for all the game's music
// instead of the tens that whole decoded pieces would hold for the whole run.
// The bytes are in memory, so playing never waits for the disk.
//
// The mixer has one music stream: playing a piece replaces whatever piece
// played before, and the stream functions below act on whichever piece is in
// it. Everything is silent and harmless while the mixer is closed.
class MusicPiece {
  public:
    MusicPiece() = default;
    ~MusicPiece();
    MusicPiece(const MusicPiece&) = delete;
    MusicPiece& operator=(const MusicPiece&) = delete;

    // Reads the file and opens it for the mixer (Ogg or WAV); false (and
    // silence) when it is missing, broken or the mixer is not open.
    bool load(const std::string& path);
    bool loaded() const { return music != nullptr; }
    // Bytes held for the piece.
    std::size_t size() const { return file.size(); }

    // Starts the piece from its beginning, once; false when there is no
    // piece or the mixer would not play it.
    bool play();

    static bool streamPlaying();
    static void stopStream();
    // Volume factor 0..1 of the stream, kept across pieces.
    static void setStreamVolume(float factor);
    // The stream's mixer volume 0..128.
    static int streamVolume();

  private:
    void release();

    std::vector<char> file;  // read by the mixer for as long as the piece exists
    _Mix_Music* music = nullptr;
};
