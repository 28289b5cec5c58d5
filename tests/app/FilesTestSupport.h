// A main window with all its windows, a folder of its own for plot files,
// and the file dialogs and the overwrite question answered by the test.
#pragma once

#include "AppTestSupport.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

inline std::vector<std::uint8_t> Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

class Files : public AllWindowsTest {
  protected:
    void SetUp() override {
        AllWindowsTest::SetUp();
        dir = fs::temp_directory_path() / ("plotter-files-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        Dialogs().SaveFileName = [this](QWidget*, const QString& start) {
            startedAt = start.toStdString();
            return QString::fromStdString(saveAs);
        };
        Dialogs().OpenFileName = [this](QWidget*, const QString& start) {
            startedAt = start.toStdString();
            return QString::fromStdString(openName);
        };
        Dialogs().Confirm = [this](QWidget*, const QString& text, const QString& caption) {
            questions.push_back(text.toStdString() + " / " + caption.toStdString());
            return answer;
        };
    }
    void TearDown() override {
        RestoreDialogs();
        fs::remove_all(dir);
        AllWindowsTest::TearDown();
    }
    void Save(const std::string& name) {
        saveAs = (dir / name).string();
        RunCommand([this] { form->N4Click(); });
    }
    void Open(const std::string& name) {
        openName = name.empty() ? std::string() : (dir / name).string();
        RunCommand([this] { form->N5Click(); });
    }

    fs::path dir;
    std::string saveAs, openName;
    std::string startedAt; // where the last file dialog started
    std::vector<std::string> questions;
    bool answer = true;
};
