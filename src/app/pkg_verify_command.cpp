#include "app/pkg_verify_command.h"

#include <CLI/CLI.hpp>

#include <iostream>

#include "unrealpkg/body_verifier.h"

CLI::App* AddPkgVerifyCommand(CLI::App& pkg, PkgVerifyArguments& arguments) {
    auto* verify = pkg.add_subcommand(
        "verify", "Compare decompiled bodies with the source text the packages embed");
    verify->add_option("files", arguments.files, "Package files")->required();
    verify->add_option("--show", arguments.differencesShown,
                       "Differing bodies listed per package (default 10)");
    return verify;
}

int RunPkgVerifyCommand(const PkgVerifyArguments& arguments) {
    torvane::unrealpkg::BodyVerifyOptions options;
    options.differencesShown = arguments.differencesShown;
    return torvane::unrealpkg::VerifyPackages(arguments.files, options, std::cout, std::cerr);
}
