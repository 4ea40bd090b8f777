#pragma once

#include <ostream>
#include <string>

// The package commands of torvane-cli, writing their report to a stream. Each returns the exit
// status; errors are written to err as one line.
namespace torvane::unrealpkg {

// Header fields and counts, then one line per export and per import.
int PrintPackageInfo(const std::string& file, std::ostream& out, std::ostream& err);

// The tagged properties of the export at path (a class's default properties for a class), one
// per line: Name(index)=display, "(index)" only for array elements.
int PrintProperties(const std::string& file, const std::string& path, std::ostream& out,
                    std::ostream& err);

// How pkg decompile prints: structured or flat, loops rebuilt or as labels and gotos.
struct BodyPrintMode {
    bool structured = true;
    bool loops = true;
};

// The whole declaration of the class, function or state at path (a class rebuilt from its
// compiled form).
int PrintDeclaration(const std::string& file, const std::string& path, const BodyPrintMode& mode,
                     std::ostream& out, std::ostream& err);

// The body text of the function, state or class at path, decompiled with the types and natives
// of the packages beside the file.
int PrintDecompiledBody(const std::string& file, const std::string& path, const BodyPrintMode& mode,
                        std::ostream& out, std::ostream& err);
// The same with loops as labels and gotos.
int PrintDecompiledBody(const std::string& file, const std::string& path, bool structured,
                        std::ostream& out, std::ostream& err);

// Every function, state and class body; failures as "PATH: message", then
// "bodies: N, failed: K". Non-zero when a body failed.
int PrintAllDecompiledBodies(const std::string& file, const BodyPrintMode& mode, std::ostream& out,
                             std::ostream& err);

struct PackageExportRequest {
    std::string file;            // the compiled package
    std::string outDirectory;    // its source folder: Classes, Textures, Sounds go below
    bool graphics = false;
    bool sounds = false;
    bool rebuild = false;        // rebuild every class, ignoring embedded source text
    bool overwriteChanged = false;  // answer Yes to the question about changed files
};

// Exports the package as the IDE does, one "Exporting <file>" line per file, then
// "classes: N, textures: M, sounds: K". Non-zero when the export stopped or refused a name.
int ExportPackageCommand(const PackageExportRequest& request, std::ostream& out, std::ostream& err);

}  // namespace torvane::unrealpkg
