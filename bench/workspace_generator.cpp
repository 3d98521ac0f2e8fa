// Writes synthetic Keil inputs for the benchmark: workspaces and large single projects.
#include "workspace_generator.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string numbered(const char* format, int number)
{
    char text[160];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

std::uint64_t writeText(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    return text.size();
}

std::string targetName(int target)
{
    return "Board Rev " + std::string(1, static_cast<char>('A' + target % 26)) + (target >= 26 ? std::to_string(target) : "");
}

bool hasOptions(const WorkspaceShape& shape, int member, int target)
{
    return !(member % 2 == 1 && shape.targets > 1 && target == shape.targets - 1);
}

// Source paths in the forms real projects use: relative with ".\", bare relative, one folder
// up, and absolute library paths the extension list rejects.
std::string sourcePath(int group, int file)
{
    const std::string folder = numbered("g%02d", group);
    switch (file % 10) {
    case 0:
        return numbered("..\\common\\src\\shared_%04d.c", group * 1000 + file);
    case 1:
        return ".\\src\\" + folder + numbered("\\module_%04d.h", file);
    case 2:
        return "src\\" + folder + numbered("\\module_%04d.c", file);
    case 3:
        return numbered("C:\\Keil\\ARM\\LIB\\vendor_%04d.lib", group * 1000 + file);
    case 4:
        return ".\\asm\\" + folder + numbered("\\vector_%04d.s", file);
    default:
        return ".\\src\\" + folder + numbered("\\module_%04d.c", file);
    }
}

std::string fileName(const std::string& path)
{
    return path.substr(path.rfind('\\') + 1);
}

// A File line of a group (counted from 0), as uVision writes them.
std::string fileLine(int group, int file)
{
    const std::string path = sourcePath(group, file);
    return "File " + std::to_string(group + 1) + "," + (path.ends_with(".c") ? "1" : "5") + ",<" + path + "><"
           + fileName(path) + ">" + (file % 2 == 0 ? " 0x0 " : "") + "\r\n";
}

std::string defineList(const WorkspaceShape& shape, int target)
{
    std::string list = "BOARD_REV=" + std::to_string(target + 1);
    for (int i = 0; i < shape.defines; ++i) {
        list += i % 3 == 0 ? ", " : " ";
        if (i % 7 == 0)
            list += numbered("FEATURE_%03d", i);
        else if (i % 11 == 0)
            list += numbered("VERSION_TEXT_%03d=\"1.2\"", i);
        else
            list += numbered("CONFIG_%03d=", i) + std::to_string(i * 16 + target);
    }
    return list;
}

std::string includeList(const WorkspaceShape& shape, int target)
{
    std::string list = ".\\inc";
    for (int i = 0; i < shape.includeFolders; ++i) {
        list += ";";
        if (i % 4 == 0)
            list += numbered("..\\common\\inc\\part_%02d", i);
        else if (i % 4 == 1)
            list += numbered("C:\\Keil\\ARM\\INC\\Vendor_%02d", i);
        else if (i % 4 == 2)
            list += numbered(".\\src\\g%02d", i) + numbered("\\board_%d", target);
        else
            list += numbered("drivers\\bus_%02d", i);
    }
    return list + ";";
}

}  // namespace

WorkspaceShape WorkspaceShape::scaled(int scale)
{
    WorkspaceShape shape;
    shape.members *= scale;
    return shape;
}

std::string memberProjectText(const WorkspaceShape& shape, int member)
{
    std::string text = "### uVision2 Project, (C) Keil Software\r\n### Do not modify !\r\n\r\n";
    for (int target = 0; target < shape.targets; ++target)
        text += "Target (" + targetName(target) + "), 0x0004 // Tools: 'ARM-ADS'\r\n";
    text += "\r\n";
    for (int group = 0; group < shape.groups; ++group)
        text += numbered("Group (Group %02d)\r\n", group);
    text += "\r\n";
    for (int group = 0; group < shape.groups; ++group)
        for (int file = 0; file < shape.filesPerGroup; ++file)
            text += fileLine(group, file);
    text += "\r\n";
    for (int target = 0; target < shape.targets; ++target) {
        if (!hasOptions(shape, member, target))
            continue;
        text += "Options 1," + std::to_string(target) + ",0  // Target '" + targetName(target) + "'\r\n";
        text += " Device (STM32F103RB)\r\n Vendor (STMicroelectronics)\r\n ADSCCTRL { 0,0,0,0,0 }\r\n";
        text += " ADSCDEFN (" + defineList(shape, target) + ")\r\n";
        text += " ADSCUDEF ()\r\n";
        text += " ADSCINCD (" + includeList(shape, target) + ")\r\n";
        text += " ADSADEFN ()\r\n ADSAINCD ()\r\nEndOpt\r\n\r\n";
    }
    return text;
}

std::string readingInputText(ReadingInput kind, std::uint64_t bytes)
{
    const std::string target = "Target (" + targetName(0) + "), 0x0004 // Tools: 'ARM-ADS'\r\n";
    std::string text;
    if (kind == ReadingInput::BlankLines) {
        // Blanks first: recognising the format looks for the first byte that is not blank.
        text.reserve(bytes + 2);
        while (text.size() + target.size() < bytes)
            text += "\r\n";
        return text + target;
    }

    constexpr std::uint64_t bytesPerGroup = 200'000;
    const int groups = static_cast<int>(std::max<std::uint64_t>(1, bytes / bytesPerGroup));
    WorkspaceShape shape;
    text = "### uVision2 Project, (C) Keil Software\r\n### Do not modify !\r\n\r\n" + target + "\r\n";
    for (int group = 0; group < groups; ++group)
        text += numbered("Group (Group %03d)\r\n", group);
    text += "\r\n";

    // The option blocks close the file, as in real projects; their size is known before the
    // File lines fill what is left.
    std::string options = "Options 1,0,0  // Target '" + targetName(0) + "'\r\n";
    options += " Device (STM32F103RB)\r\n Vendor (STMicroelectronics)\r\n ADSCCTRL { 0,0,0,0,0 }\r\n";
    options += " ADSCDEFN (" + defineList(shape, 0) + ")\r\n ADSCUDEF ()\r\n";
    options += " ADSCINCD (" + includeList(shape, 0) + ")\r\n ADSADEFN ()\r\n ADSAINCD ()\r\nEndOpt\r\n\r\n";
    for (int group = 0; group < groups; ++group) {
        options += numbered("Options 1,%d,0  // Group ", group + 1) + numbered("'Group %03d'\r\n", group);
        options += " PropFld { 0,0,0,0,0 }\r\n IncBld=1\r\n AlwaysBuild=0\r\n";
        options += numbered(" ADSCDEFN (GROUP_%03d=1, GROUP_LOCAL)\r\n", group);
        options += numbered(" ADSCINCD (.\\src\\g%02d\\private)\r\nEndOpt\r\n\r\n", group);
    }

    text.reserve(bytes + options.size() + 256);
    const std::uint64_t filesEnd = bytes > text.size() + options.size() ? bytes - options.size() : text.size();
    const std::uint64_t filesStart = text.size();
    int file = 0;
    for (int group = 0; group < groups; ++group) {
        // Each group takes an equal share of the File lines, in the order of the groups.
        const std::uint64_t groupEnd = filesStart + (filesEnd - filesStart) * static_cast<std::uint64_t>(group + 1)
                                                        / static_cast<std::uint64_t>(groups);
        while (text.size() < groupEnd)
            text += fileLine(group, file++);
    }
    return text + options;
}

std::uint64_t writeReadingInput(const fs::path& file, ReadingInput kind, std::uint64_t bytes)
{
    return writeText(file, readingInputText(kind, bytes));
}

std::string basePersonalityText(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i) {
        if (i % 10 == 0)
            text += numbered("// Section %d: checks for the firmware of the product line\n", i / 10);
        else if (i % 3 == 0)
            text += numbered("-e%d  // suppressed for generated register headers\n", 700 + i);
        else
            text += numbered("+fcu -wlib(1) -esym(%d, vendor_*)\n", 400 + i);
    }
    return text;
}

GeneratedWorkspace generateWorkspace(const fs::path& folder, const WorkspaceShape& shape)
{
    if (shape.members < 1 || shape.targets < 1 || shape.groups < 1 || shape.filesPerGroup < 0)
        throw std::runtime_error("a workspace needs at least one member, target and group");
    fs::remove_all(folder);
    fs::create_directories(folder / "ws");
    fs::create_directories(folder / "personality");

    GeneratedWorkspace result;
    result.workspaceFile = folder / "ws" / "bench.mpw";
    result.basePersonality = folder / "personality" / "base.p_a";
    result.inputBytes += writeText(result.basePersonality, basePersonalityText(shape.baseLines));

    std::string workspace = "[WORKSPACE]\r\n  MPW_NAME=\"bench\"\r\n";
    for (int member = 0; member < shape.members; ++member) {
        const std::string name = numbered("m%03d", member);
        fs::create_directories(folder / "ws" / name);
        result.inputBytes += writeText(folder / "ws" / name / (name + ".Uv2"), memberProjectText(shape, member));
        workspace += "  Project=\".\\" + name + "\\" + name + ".Uv2\"" + (member == 0 ? ",A" : "") + "\r\n";
        result.sourceFiles += static_cast<std::uint64_t>(shape.groups) * static_cast<std::uint64_t>(shape.filesPerGroup);
    }
    result.inputBytes += writeText(result.workspaceFile, workspace);
    return result;
}
