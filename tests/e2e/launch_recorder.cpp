// A program that the end-to-end tests launch from menu items. It appends one line to
// launches.txt beside itself: its working folder, then each argument after a "|". With
// "/linger MS" as its first two arguments it stays that long before it ends, so that a
// test can watch the menu wait for it.

#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 1) return 1;
    try {
        const std::filesystem::path self(argv[0]);
        {
            std::ofstream out(self.parent_path() / "launches.txt", std::ios::app);
            out << std::filesystem::current_path().string();
            for (int i = 1; i < argc; ++i) out << '|' << argv[i];
            out << '\n';
        }
        if (argc >= 3 && std::string(argv[1]) == "/linger") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(argv[2])));
        }
    } catch (const std::exception&) {
        return 1;
    }
    return 0;
}
