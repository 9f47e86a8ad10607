#include "scriptui/MovieNames.h"

#include "render/video/VideoRecorder.h"
#include "scripting/ScriptRegistry.h"

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace kalvion {

namespace {

constexpr double DEFAULT_FPS = 10.0;

std::string ResolveName(const std::string &name, const TMovieScriptHooks &hooks)
{
    const std::filesystem::path path(name);
    if (path.has_parent_path() || path.is_absolute() || !hooks.Folder)
        return name;
    const std::string folder = hooks.Folder();
    return folder.empty() ? name : (std::filesystem::path(folder) / path).string();
}

} // namespace

void RegisterMovieNames(TScriptRegistry &reg, TVideoRecorder &recorder, TMovieScriptHooks hooks)
{
    auto shared = std::make_shared<TMovieScriptHooks>(std::move(hooks));
    auto fail = [shared](const std::string &why) {
        if (shared->OnFailure)
            shared->OnFailure(why);
        return TScriptValue::FromBool(false);
    };
    reg.AddRoutine("StartMovie",
                   {ArgOf(TScriptType::String), ArgOf(TScriptType::Integer), ArgOf(TScriptType::Integer)},
                   ArgOf(TScriptType::Boolean), [&recorder, shared, fail](TScriptArgs &a) {
                       const double fps = shared->Fps ? shared->Fps() : DEFAULT_FPS;
                       const bool quick = shared->Quick && shared->Quick();
                       if (!recorder.start(ResolveName(a[0].Str, *shared), static_cast<int>(a[1].Int),
                                           static_cast<int>(a[2].Int), fps, quick))
                           return fail(recorder.lastError());
                       if (!recorder.sizeNotice().empty() && shared->OnNotice)
                           shared->OnNotice(recorder.sizeNotice());
                       return TScriptValue::FromBool(true);
                   });
    reg.AddRoutine("AddMovieFrame", {}, ArgOf(TScriptType::Boolean), [&recorder, shared, fail](TScriptArgs &) {
        if (!recorder.isRecording())
            return fail(recorder.lastError().empty() ? "No video is being recorded" : recorder.lastError());
        const QImage frame =
            shared->Frame ? shared->Frame(recorder.frameWidth(), recorder.frameHeight()) : QImage();
        if (frame.isNull())
            return fail("The 3D view could not be drawn for the video");
        if (!recorder.addFrame(frame))
            return fail(recorder.lastError());
        return TScriptValue::FromBool(true);
    });
    reg.AddRoutine("FinishMovie", {}, ArgOf(TScriptType::Boolean), [&recorder, fail](TScriptArgs &) {
        if (!recorder.finish())
            return fail(recorder.lastError());
        return TScriptValue::FromBool(true);
    });
}

void RegisterWindowlessMovieNames(TScriptRegistry &reg)
{
    const auto needsWindow = [](const char *routine) {
        return [routine](TScriptArgs &) -> TScriptValue {
            throw std::runtime_error(std::string(routine) + ": needs the main window");
        };
    };
    const TScriptArg I = ArgOf(TScriptType::Integer), B = ArgOf(TScriptType::Boolean);
    reg.AddRoutine("StartMovie", {ArgOf(TScriptType::String), I, I}, B, needsWindow("StartMovie"));
    reg.AddRoutine("AddMovieFrame", {}, B, needsWindow("AddMovieFrame"));
    reg.AddRoutine("FinishMovie", {}, B, needsWindow("FinishMovie"));
}

} // namespace kalvion
