// The loader of the Tesseract module: what the front ends link in place of
// libtesseract itself.
#include "engine/tesseract_engine.h"

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

#include "engine/tesseract_module.h"

namespace orvane {

namespace {

std::string realPath(const char* path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path, nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

// Where the module is. The build tree's programs (and tests) take the
// build's own module, never an installed one of another version. Any other
// program takes the one installed with it, found from its own folder so
// that the install can be moved as a whole; failing that, a portable copy's
// module beside it.
std::string modulePath() {
    if (const char* path = std::getenv("ORVANE_TESSERACT_MODULE"); path != nullptr && *path != '\0')
        return path;
    // Without its own path the program does not guess: a relative path would
    // load whatever lies there from the current folder.
    const std::string exe = realPath("/proc/self/exe");
    if (exe.empty()) return {};
    const std::string buildDir = realPath(ORVANE_BUILD_DIR);
    if (!buildDir.empty() && exe.compare(0, buildDir.size() + 1, buildDir + "/") == 0)
        return ORVANE_BUILD_MODULE;
    const std::string folder = exe.substr(0, exe.rfind('/') + 1);
    const std::string installed = folder + ORVANE_INSTALLED_MODULE;
    const std::string beside = folder + ORVANE_MODULE_NAME;
    if (::access(installed.c_str(), F_OK) != 0 && ::access(beside.c_str(), F_OK) == 0)
        return beside;
    return installed;
}

// Loaded once for the process and never closed: the engines it makes live
// in it. A failure is kept too; the engine stays unavailable to the end.
struct Module {
    std::mutex lock;
    bool tried = false;
    TesseractModuleOpen open = nullptr;
    std::string error;
};

Module& module() {
    static Module m;
    return m;
}

TesseractModuleOpen loadedModule() {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    if (m.tried) return m.open;
    m.tried = true;
    const std::string path = modulePath();
    if (path.empty()) {
        m.error = "the program's own path (/proc/self/exe) is unknown";
        return nullptr;
    }
    // The engine reads one short line at a time, where OpenMP's worker
    // threads only wait on each other: one thread reads the same text about
    // four times faster (measured on the sample streams). OpenMP takes the
    // limit from the environment when the module brings it in, so it is set
    // here, unless the user set it.
    ::setenv("OMP_THREAD_LIMIT", "1", 0);
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        m.error = why != nullptr ? why : path + ": cannot be loaded";
        return nullptr;
    }
    m.open = reinterpret_cast<TesseractModuleOpen>(::dlsym(handle, kTesseractModuleOpen));
    if (m.open == nullptr) m.error = path + ": no " + kTesseractModuleOpen;
    return m.open;
}

}  // namespace

std::unique_ptr<TextEngine> openTesseractEngine(const std::string& language) {
    if (language.empty()) return nullptr;
    const TesseractModuleOpen open = loadedModule();
    if (open == nullptr) return nullptr;
    return std::unique_ptr<TextEngine>(open(language.c_str()));
}

TextEngineFactory tesseractEngineFactory() {
    return [](const std::string& language) { return openTesseractEngine(language); };
}

std::string tesseractModuleError() {
    Module& m = module();
    const std::lock_guard<std::mutex> hold(m.lock);
    return m.error;
}

}  // namespace orvane
