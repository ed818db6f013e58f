// fuzz_seeds OUTDIR: the seed corpus of the fuzz targets, one folder per target: the simulated
// unit's reports as received (report/) and as files store them (config/), exchanges in the input
// form of fuzz_receive with a dictionary of the texts answers are recognised by (receive/,
// receive.dict), and profile files with a write in the input form of fuzz_profile (profile/).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

#include "model/config_file.h"
#include "sim/unit_state.h"

namespace {

std::filesystem::path out;
bool ok = true;

void Put(const std::string& name, std::string_view bytes) {
    const std::filesystem::path path = out / name;
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ok = ok && file;
}

/// A chunk of fuzz_receive: two header bytes (length, repeat count less one), the bytes.
std::string Chunk(std::string_view bytes, unsigned repeat = 1) {
    const unsigned header = static_cast<unsigned>(bytes.size()) | (repeat - 1) << 12;
    return std::string{static_cast<char>(header & 0xFF), static_cast<char>(header >> 8)}.append(
        bytes);
}

/// An exchange of fuzz_receive: the state (-1 to 253), the logged-in flag and the chunks.
std::string Exchange(int state, bool loggedIn, std::initializer_list<std::string> chunks) {
    std::string input{static_cast<char>(state + 1), static_cast<char>(loggedIn)};
    for (const std::string& chunk : chunks) input += chunk;
    return input;
}

void PutReceiveSeeds(const std::string& report) {
    std::string reportChunks = Exchange(1, true, {});
    for (size_t at = 0; at < report.size(); at += 1000)
        reportChunks += Chunk(report.substr(at, 1000));
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
        Exchange(11, true, {Chunk("ERROR\r\n"), Chunk("+CSQ: 31,99\r\nOK\r\n")}),
        Exchange(13, true,
                 {Chunk(std::string(3999, 'x') + '\0', 5), Chunk(std::string_view("\0OK\0", 4))}),
        std::string("\xFF\x07\x00\x00\x80\x00", 6) + Chunk("OK\r\n"),  // state INT32_MIN + 7
    };
    for (size_t i = 0; i < std::size(seeds); ++i)
        Put("receive/exchange-" + std::to_string(i), seeds[i]);
    for (int state = -1; state <= 15; ++state) {  // every state, an error and then an OK
        Put("receive/state" + std::to_string(state),
            Exchange(state, state % 2, {Chunk("\r\nERROR\r\n"), Chunk("OK\r\n")}));
    }
    Put("receive.dict",  // libFuzzer's dictionary form: quoted, \xNN for other bytes
        "\"OK\"\n\"ERROR\\x0D\\x0A\"\n\"enter setting!\"\n\"'s' key\"\n"
        "\"Seting Timeout and quit\"\n\"Access Point Name:\"\n"
        "\"Whether module using CDMA mode:\"\n");
}

/// A string as FuzzedDataProvider::ConsumeRandomLengthString reads it: backslashes doubled,
/// ended by a backslash and another byte.
std::string Field(std::string_view text) {
    std::string field;
    for (char c : text) field.append(c == '\\' ? 2 : 1, c);
    return field.append("\\\n");
}

/// A case of fuzz_profile: the file, the section, key and value of a write, whether the file
/// exists and the read size (the provider takes the last two from the end).
std::string ProfileCase(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value, bool exists, unsigned char max) {
    return (Field(file) + Field(section) + Field(key) + Field(value))
        .append(4, exists ? '\xFF' : '\0')
        .append(1, static_cast<char>(max));
}

void PutProfileSeeds() {
    const std::string seeds[] = {
        ProfileCase("[Set]\r\nLanguage=1\r\n", "Set", "Language", "0", true, 19),
        ProfileCase(
            "; texts\n[OnStartCom]\nOpen = Open\nClose=\"Close \"\n\n[ComSend]\nsend=send\n",
            " comsend", "SEND ", " padded ", true, 200),
        ProfileCase("\xEF\xBB\xBF[a]\nx=1\n[b]\ny=2", "c", "z", "\"quoted\"", true, 5),
        ProfileCase("[T]\nk=\xE4\xB8\xAD\xE6\x96\x87\nk=second\n[t]\nk=third\n", "t", "K", "v",
                    true, 1),
        // A language file as the skins have them, with made-up texts.
        ProfileCase("[WinMain]\r\nWorkThread=No worker\r\n\r\n[WorkerJobThreadProc]\r\n"
                    "SaveSuccess=Saved\r\nOutTime=No answer\r\n\r\n[DIO workmode]\r\nText1=In\r\n",
                    "OnStartCom", "OpenError", "The port could not be opened", true, 199),
    };
    for (size_t i = 0; i < std::size(seeds); ++i)
        Put("profile/case-" + std::to_string(i), seeds[i]);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    out = argv[1];
    for (const char* name : {"base", "lora", "zigbee", "gps", "cdma", "bg36", "sim7000"}) {
        const std::string report = sim::UnitState(*sim::FindProfile(name)).Report();
        Put("report/" + std::string(name) + ".txt", report);
        Put("config/" + std::string(name) + ".cfg", model::ToFileText(report));
    }
    int i = 0;
    for (std::string_view lineEnds : {"a\r\nb\n", "\r\r\n\r", "x\x1ay\r\n", "\n\r\n\r\r"}) {
        Put("config/line-ends-" + std::to_string(i++), lineEnds);
    }
    PutReceiveSeeds(sim::UnitState(*sim::FindProfile("base")).Report());
    PutProfileSeeds();
    if (!ok) std::fprintf(stderr, "fuzz_seeds: could not write into %s\n", out.c_str());
    return ok ? 0 : 1;
}
