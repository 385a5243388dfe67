#include "platform/MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "platform/Text.h"

namespace {

IMessagePresenter* g_presenter = nullptr;

// The folder of the last path chosen in a save dialog.
std::string g_lastSaveFolder;

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

void RememberSaveFolder(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) g_lastSaveFolder = folder.string();
}

// Answers of KOMPENDOR_ANSWERS already used; a changed list starts again at its first answer.
std::string g_answerList;
std::size_t g_answersUsed = 0;

const char* Env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

std::optional<MsgAnswer> ParseAnswer(std::string_view word) {
    word = TrimBlanks(word);
    if (EqualsNoCase(word, "ok")) return IDOK;
    if (EqualsNoCase(word, "cancel")) return IDCANCEL;
    if (EqualsNoCase(word, "yes")) return IDYES;
    if (EqualsNoCase(word, "no")) return IDNO;
    return std::nullopt;
}

// The next scripted answer, if the list has one left.
std::optional<MsgAnswer> NextScriptedAnswer(bool& listHadOne) {
    listHadOne = false;
    const char* list = Env("KOMPENDOR_ANSWERS");
    std::string current = list ? list : "";
    if (current != g_answerList) {
        g_answerList = current;
        g_answersUsed = 0;
    }
    std::size_t pos = 0;
    for (std::size_t i = 0; i < g_answersUsed && pos != std::string::npos; ++i) {
        pos = current.find(',', pos);
        if (pos != std::string::npos) ++pos;
    }
    if (current.empty() || pos == std::string::npos) return std::nullopt;
    std::size_t comma = current.find(',', pos);
    std::string_view word = std::string_view(current).substr(
        pos, comma == std::string::npos ? std::string::npos : comma - pos);
    ++g_answersUsed;
    listHadOne = true;
    return ParseAnswer(word);
}

std::string OneLine(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\\n";
        } else if (text[i] == '\n') {
            out += "\\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

MsgAnswer DefaultAnswer(const MessageBoxRequest& request) {
    std::vector<MsgAnswer> buttons = ButtonsOf(request.buttons);
    std::size_t index
        = request.defaultButton >= 0 ? static_cast<std::size_t>(request.defaultButton) : 0;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

MsgAnswer AutomatedAnswer(const MessageBoxRequest& request, const char* logFile) {
    {
        std::ofstream log(logFile, std::ios::app | std::ios::binary);
        log << request.caption << '\t' << OneLine(request.text) << '\n';
    }
    bool listHadOne = false;
    std::optional<MsgAnswer> scripted = NextScriptedAnswer(listHadOne);
    if (scripted) {
        // An answer the box has no button for is not given; the default closes it.
        for (MsgAnswer b : ButtonsOf(request.buttons)) {
            if (b == *scripted) return b;
        }
    }
    return DefaultAnswer(request);
}

}  // namespace

void SetMessagePresenter(IMessagePresenter* presenter) { g_presenter = presenter; }

std::vector<MsgAnswer> ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return {IDOK};
        case MsgButtons::OkCancel:
            return {IDOK, IDCANCEL};
        case MsgButtons::YesNo:
            return {IDYES, IDNO};
        case MsgButtons::YesNoCancel:
            return {IDYES, IDNO, IDCANCEL};
    }
    return {IDOK};
}

MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons, int defaultButton) {
    return ShowMessageBox(MessageBoxRequest{text, caption, icon, buttons, defaultButton});
}

MsgAnswer ShowMessageBox(const MessageBoxRequest& request) {
    if (const char* log = Env("KOMPENDOR_MESSAGES")) return AutomatedAnswer(request, log);
    if (g_presenter) return g_presenter->ShowMessage(request);
    // No window system: the text still reaches the user.
    std::cerr << (request.caption.empty() ? "" : request.caption + ": ") << request.text << '\n';
    return DefaultAnswer(request);
}

std::optional<std::string> RunSaveFileDialog(const SaveDialogRequest& request) {
    std::optional<std::string> path;
    if (MessagesAutomated()) {
        const char* scripted = Env("KOMPENDOR_SAVE_PATH");
        if (!scripted) return std::nullopt;
        path = WithDefaultExtension(scripted, request.defaultExtension);
        std::error_code ec;
        if (request.overwritePrompt && std::filesystem::exists(*path, ec)) {
            MessageBoxRequest ask{
                *path + " ist bereits vorhanden.\nMöchten Sie die Datei ersetzen?",
                request.title.empty() ? "Speichern unter" : request.title, MsgIcon::Warning,
                MsgButtons::YesNo, 1};
            if (ShowMessageBox(ask) != IDYES) return std::nullopt;
        }
    } else if (g_presenter) {
        path = g_presenter->RunSaveDialog(request);
    }
    if (path) RememberSaveFolder(*path);
    return path;
}

std::string LastSaveFolder() { return g_lastSaveFolder; }

void ForgetSaveFolder() { g_lastSaveFolder.clear(); }

std::string SaveDialogStartFolder(const std::string& proposedName, const std::string& documents,
                                  const std::string& home) {
    const std::filesystem::path proposed(proposedName);
    if (proposed.has_parent_path() && IsFolder(proposed.parent_path().string()))
        return proposed.parent_path().string();
    if (IsFolder(g_lastSaveFolder)) return g_lastSaveFolder;
    if (IsFolder(documents)) return documents;
    return home;
}

std::string FilterForToolkit(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos < filter.size()) {
        std::size_t bar = filter.find('|', pos);
        if (bar == std::string::npos) bar = filter.size();
        parts.push_back(filter.substr(pos, bar - pos));
        pos = bar + 1;
    }
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty()) break;
        if (!out.empty()) out += ";;";
        const std::string patterns = ReplaceAll(parts[i + 1], ";", " ");
        const bool named = parts[i].find("(" + parts[i + 1] + ")") != std::string::npos
                           || parts[i].find("(" + patterns + ")") != std::string::npos;
        out += named ? parts[i] : parts[i] + " (" + patterns + ")";
    }
    return out;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty()) return path;
    std::filesystem::path p(path);
    if (p.has_extension() && p.extension() != ".") return path;
    std::string base = path;
    if (!base.empty() && base.back() == '.') base.pop_back();
    return base + "." + extension;
}

bool MessagesAutomated() { return Env("KOMPENDOR_MESSAGES") != nullptr; }

std::optional<std::string> AutomatedPrintPdf() {
    if (!MessagesAutomated()) return std::nullopt;
    if (const char* pdf = Env("KOMPENDOR_PRINT_PDF")) return std::string(pdf);
    return std::nullopt;
}
