// fuzz_seeds OUTDIR: writes the seed corpus of the fuzz targets. OUTDIR/report gets the
// report of the simulated unit for a few profiles as received, OUTDIR/config the same
// reports as configuration files store them, plus a few short line-end cases. OUTDIR/receive
// gets exchanges in the input form of fuzz_receive (the handshake, the report in chunks,
// short answers, a long run of bytes) and OUTDIR/receive.dict the texts the unit's answers
// are recognised by; OUTDIR/profile gets profile files with a write in the input form of
// fuzz_profile.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

#include "model/config_file.h"
#include "sim/unit_state.h"

namespace {

bool WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

/// One chunk as fuzz_receive reads it: two header bytes (length, repeat count less one), the
/// bytes.
std::string Chunk(std::string_view bytes, unsigned repeat = 1) {
    const unsigned header = static_cast<unsigned>(bytes.size()) | (repeat - 1) << 12;
    std::string chunk{static_cast<char>(header & 0xFF), static_cast<char>(header >> 8)};
    return chunk.append(bytes);
}

/// An exchange for fuzz_receive: the state (-1 to 253), the logged-in flag and the chunks.
std::string Exchange(int state, bool loggedIn, std::initializer_list<std::string> chunks) {
    std::string input{static_cast<char>(state + 1), static_cast<char>(loggedIn ? 1 : 0)};
    for (const std::string& chunk : chunks) input += chunk;
    return input;
}

/// A string as FuzzedDataProvider::ConsumeRandomLengthString reads it: backslashes doubled,
/// ended by a backslash and another byte.
std::string Field(std::string_view text) {
    std::string field;
    for (char c : text) field.append(c == '\\' ? 2 : 1, c);
    return field.append("\\\n");
}

/// A profile case for fuzz_profile: the file, the section, key and value of a write, whether
/// the file exists, and the read size (the provider takes the last two from the end).
std::string ProfileCase(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value, bool exists, unsigned char max) {
    std::string input = Field(file) + Field(section) + Field(key) + Field(value);
    input.append(4, exists ? '\xFF' : '\0');
    input.push_back(static_cast<char>(max));
    return input;
}

bool WriteReceiveSeeds(const std::filesystem::path& dir, const std::string& report) {
    std::string reportChunks = Exchange(1, true, {});
    for (size_t at = 0; at < report.size(); at += 1000)
        reportChunks += Chunk(report.substr(at, 1000));
    std::string anyState = {'\xFF', '\x07', '\x00', '\x00', '\x80', '\x00'};  // INT32_MIN + 7
    anyState += Chunk("OK\r\n");
    const std::string seeds[] = {
        Exchange(0, false,
                 {Chunk("\r\nPress 's' key to enter setting mode\r\n"), Chunk("\r\nenter set"),
                  Chunk("ting!\r\n")}),
        Exchange(-1, false, {Chunk("\r\nPress 's' key"), Chunk("\r\nenter setting!\r\n")}),
        reportChunks,
        Exchange(2, true, {Chunk("AT+APN=cmnet\r\n"), Chunk("OK\r\n")}),
        Exchange(
            3, false,
            {Chunk("+++"), Chunk("\r\nenter setting!\r\n"), Chunk("Seting Timeout and quit\r\n")}),
        Exchange(4, true, {Chunk("ERR"), Chunk("OR\r\n")}),
        Exchange(5, true, {Chunk("Access Point Name: cmnet\r\nERROR\r\n")}),
        Exchange(7, true, {Chunk("\r\nat+quit\r\nOK\r\n")}),
        Exchange(11, true, {Chunk("ERROR\r\n"), Chunk("+CSQ: 31,99\r\nOK\r\n")}),
        Exchange(13, true,
                 {Chunk(std::string(3999, 'x') + '\0', 5), Chunk(std::string_view("\0OK\0", 4))}),
        anyState,
    };
    bool ok = true;
    for (size_t i = 0; i < std::size(seeds); ++i) {
        ok = WriteFile(dir / "receive" / ("exchange-" + std::to_string(i)), seeds[i]) && ok;
    }
    for (int state = -1; state <= 15; ++state) {  // every state, an error and then an OK
        const std::string seed =
            Exchange(state, state % 2, {Chunk("\r\nERROR\r\n"), Chunk("OK\r\n")});
        ok = WriteFile(dir / "receive" / ("state" + std::to_string(state)), seed) && ok;
    }
    std::string dict;  // in libFuzzer's dictionary form: quoted, \xNN for other bytes
    for (std::string_view token :
         {"OK", "ERROR\\x0D\\x0A", "enter setting!", "'s' key", "Seting Timeout and quit",
          "Access Point Name:", "Whether module using CDMA mode:"}) {
        dict.append("\"").append(token).append("\"\n");
    }
    return WriteFile(dir / "receive.dict", dict) && ok;
}

/// A language file as the skins have them, with made-up texts.
constexpr std::string_view kLanguageTexts =
    "[WinMain]\r\nWorkThread=No worker\r\n\r\n[WorkerJobThreadProc]\r\nSaveSuccess=Saved\r\n"
    "SaveError=Not saved\r\nFactorySuccess=Restored\r\nFactoryError=Not restored\r\n"
    "OutTime=No answer\r\n\r\n[ComSend]\r\nsend=send\r\n\r\n[OnStartCom]\r\nOpen=Open\r\n"
    "Close=Close\r\nOpenNotice=Opened\r\nCloseNotice=Closed\r\n\r\n[SetDeviceState]\r\n"
    "szLoginOn=In\r\nszLoginOff=Out\r\n\r\n[DIO workmode]\r\nText1=Input\r\nText7=Analog\r\n";

bool WriteProfileSeeds(const std::filesystem::path& dir) {
    const std::string seeds[] = {
        ProfileCase("[Set]\r\nLanguage=1\r\n", "Set", "Language", "0", true, 19),
        ProfileCase("[Set]\r\nLanguage=1\r\n", "Set", "Language", "1", false, 19),
        ProfileCase(
            "; texts\n[OnStartCom]\nOpen = Open\nClose=\"Close \"\n\n[ComSend]\nsend=send\n",
            " comsend", "SEND ", " padded ", true, 200),
        ProfileCase("\xEF\xBB\xBF[a]\nx=1\n[b]\ny=2", "c", "z", "\"quoted\"", true, 5),
        ProfileCase("[T]\nk=\xE4\xB8\xAD\xE6\x96\x87\nk=second\n[t]\nk=third\n", "t", "K", "v",
                    true, 1),
        ProfileCase("[s]\nk\n=empty key\n[x\nbad]=1\n", "s", "", "", true, 0),
        ProfileCase(kLanguageTexts, "OnStartCom", "OpenError", "The port could not be opened", true,
                    199),
    };
    bool ok = true;
    for (size_t i = 0; i < std::size(seeds); ++i) {
        ok = WriteFile(dir / "profile" / ("case-" + std::to_string(i)), seeds[i]) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code error;
    std::filesystem::create_directories(out / "report", error);
    std::filesystem::create_directories(out / "config", error);
    std::filesystem::create_directories(out / "receive", error);
    std::filesystem::create_directories(out / "profile", error);
    bool ok = true;
    for (const char* name : {"base", "lora", "zigbee", "gps", "cdma", "bg36", "sim7000"}) {
        const sim::Profile* profile = sim::FindProfile(name);
        if (!profile) {
            std::fprintf(stderr, "fuzz_seeds: no profile %s\n", name);
            return 1;
        }
        const std::string report = sim::UnitState(*profile).Report();
        ok = WriteFile(out / "report" / (std::string(name) + ".txt"), report) && ok;
        ok = WriteFile(out / "config" / (std::string(name) + ".cfg"), model::ToFileText(report)) &&
             ok;
    }
    const std::string_view lineEnds[] = {"a\r\nb\n", "\r\r\n\r", "x\x1ay\r\n", "\n\r\n\r\r"};
    for (size_t i = 0; i < std::size(lineEnds); ++i) {
        ok = WriteFile(out / "config" / ("line-ends-" + std::to_string(i)), lineEnds[i]) && ok;
    }
    ok = WriteReceiveSeeds(out, sim::UnitState(*sim::FindProfile("base")).Report()) && ok;
    ok = WriteProfileSeeds(out) && ok;
    if (!ok) {
        std::fprintf(stderr, "fuzz_seeds: could not write into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
