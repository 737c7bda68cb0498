#include "TestMpd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>

namespace zt::host::test {

namespace {

unsigned FreePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    unsigned port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(s);
    return port;
}

void PutLittle32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(char((value >> (8 * i)) & 0xff));
}

// Replaces a FLAC file's comment block with one holding these comments, in
// order (so a tag may appear twice, which ffmpeg cannot write).
bool SetFlacComments(const std::filesystem::path& file, const std::vector<std::string>& comments) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.compare(0, 4, "fLaC") != 0) return false;
    std::string body;
    PutLittle32(body, 2);
    body += "zt"; // the writer's name
    PutLittle32(body, uint32_t(comments.size()));
    for (const std::string& comment : comments) {
        PutLittle32(body, uint32_t(comment.size()));
        body += comment;
    }
    std::string out = "fLaC";
    size_t at = 4;
    bool last = false;
    while (!last && at + 4 <= bytes.size()) {
        auto header = static_cast<unsigned char>(bytes[at]);
        last = (header & 0x80) != 0;
        size_t length = (size_t(static_cast<unsigned char>(bytes[at + 1])) << 16) |
                        (size_t(static_cast<unsigned char>(bytes[at + 2])) << 8) |
                        size_t(static_cast<unsigned char>(bytes[at + 3]));
        int type = header & 0x7f;
        if (type == 0) { // the stream information comes first; the comments follow it
            out.push_back(char(0));
            out.append(bytes, at + 1, 3 + length);
            out.push_back(char(4));
            out.push_back(char((body.size() >> 16) & 0xff));
            out.push_back(char((body.size() >> 8) & 0xff));
            out.push_back(char(body.size() & 0xff));
            out += body;
        } else if (type != 4) {
            out.push_back(char(type));
            out.append(bytes, at + 1, 3 + length);
        }
        at += 4 + length;
    }
    if (!last) return false;
    // Mark the last block kept as the last one.
    size_t block = 4, lastBlock = 4;
    while (block < out.size()) {
        lastBlock = block;
        size_t length = (size_t(static_cast<unsigned char>(out[block + 1])) << 16) |
                        (size_t(static_cast<unsigned char>(out[block + 2])) << 8) |
                        size_t(static_cast<unsigned char>(out[block + 3]));
        block += 4 + length;
    }
    out[lastBlock] = char(out[lastBlock] | 0x80);
    out.append(bytes, at, std::string::npos);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << out;
    return true;
}

mpd_connection* ConnectWithin(unsigned port, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        mpd_connection* connection = mpd_connection_new("127.0.0.1", port, 2000);
        if (connection != nullptr && mpd_connection_get_error(connection) == MPD_ERROR_SUCCESS) return connection;
        if (connection != nullptr) mpd_connection_free(connection);
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the server is still starting
    }
    return nullptr;
}

} // namespace

TestMpd::TestMpd(const std::vector<TestTrack>& tracks) {
    if (!std::filesystem::exists(ZT_MPD)) {
        error_ = std::string("mpd is missing (") + ZT_MPD + "): scripts/setup installs it";
        return;
    }
    if (!std::filesystem::exists(ZT_FFMPEG)) {
        error_ = std::string("ffmpeg is missing (") + ZT_FFMPEG + "): scripts/setup installs it";
        return;
    }
    std::filesystem::create_directories(folder_ / "music");
    std::filesystem::create_directories(folder_ / "playlists");
    for (const TestTrack& track : tracks) {
        std::filesystem::path file = folder_ / "music" / track.file;
        // A minute of tone: longer than any test, so no song ends by itself.
        if (!RunProgram({ZT_FFMPEG, "-v", "error", "-nostdin", "-f", "lavfi", "-i",
                         "sine=frequency=440:duration=60:sample_rate=8000", "-ac", "1", file.string()}) ||
            !SetFlacComments(file, track.comments)) {
            error_ = "could not make the test track " + track.file;
            return;
        }
        files_.push_back(track.file);
    }
    port_ = FreePort();
    std::ofstream(folder_ / "mpd.conf") << "music_directory \"" << (folder_ / "music").string() << "\"\n"
                                        << "playlist_directory \"" << (folder_ / "playlists").string() << "\"\n"
                                        << "db_file \"" << (folder_ / "database").string() << "\"\n"
                                        << "state_file \"" << (folder_ / "state").string() << "\"\n"
                                        << "log_file \"" << (folder_ / "log").string() << "\"\n"
                                        << "bind_to_address \"127.0.0.1\"\n"
                                        << "bind_to_address \"" << socketPath() << "\"\n"
                                        << "port \"" << port_ << "\"\n"
                                        << "auto_update \"no\"\n"
                                        << "zeroconf_enabled \"no\"\n"
                                        << "restore_paused \"yes\"\n"
                                        << "audio_output {\n  type \"null\"\n  name \"null\"\n}\n";
}

TestMpd::~TestMpd() { Kill(); }

bool TestMpd::Start() {
    if (!error_.empty()) return false;
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{ZT_MPD, "--no-daemon", (folder_ / "mpd.conf").string()});
    mpd_connection* connection = ConnectWithin(port_, std::chrono::seconds(15));
    if (connection == nullptr) {
        error_ = "mpd did not start on port " + std::to_string(port_);
        return false;
    }
    control_ = connection;
    if (!updated_) {
        if (mpd_run_update(control_, nullptr) == 0) {
            error_ = "mpd did not start reading its music folder";
            return false;
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        for (;;) {
            mpd_status* status = mpd_run_status(control_);
            unsigned job = status ? mpd_status_get_update_id(status) : 1;
            if (status) mpd_status_free(status);
            if (job == 0) break;
            if (std::chrono::steady_clock::now() > deadline) {
                error_ = "mpd did not finish reading its music folder";
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        updated_ = true;
    }
    mpd_run_clear(control_);
    for (const std::string& file : files_) {
        if (!mpd_run_add(control_, file.c_str())) {
            error_ = "mpd could not queue " + file + ": " + mpd_connection_get_error_message(control_);
            return false;
        }
    }
    return true;
}

void TestMpd::Kill() {
    if (control_ != nullptr) mpd_connection_free(control_);
    control_ = nullptr;
    server_.reset();
}

mpd_connection* TestMpd::control() { return control_; }

} // namespace zt::host::test
