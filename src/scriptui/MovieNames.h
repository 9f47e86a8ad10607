#pragma once
// Video recording as scripts see it:
//   StartMovie(name, width, height) As Boolean
//   AddMovieFrame() As Boolean
//   FinishMovie() As Boolean
// StartMovie opens a video file (MP4, or WebM for a name ending in ".webm";
// a name without a folder goes to the host's video folder) for frames of
// width × height; AddMovieFrame appends the current 3D view; FinishMovie
// closes the file.  Each answers whether it worked; a failed recording
// leaves no file behind, and the host hears why through OnFailure.
#include <QImage>

#include <functional>
#include <string>

namespace kalvion {

class TScriptRegistry;
class TVideoRecorder;

struct TMovieScriptHooks {
    // The current 3D view drawn at width × height; a null picture when
    // none can be drawn.
    std::function<QImage(int width, int height)> Frame;
    // Where names without a folder go ("VideoFolder"); as given when empty.
    std::function<std::string()> Folder;
    // Frames per second ("VideoFPS") and quick mode ("VideoQuick").
    std::function<double()> Fps;
    std::function<bool()> Quick;
    // Told the reason whenever a routine answers False, and size roundings.
    std::function<void(const std::string &)> OnFailure;
    std::function<void(const std::string &)> OnNotice;
};

// The recorder outlives the registry's scripts; the window shares it with
// its "Record Video" window.
void RegisterMovieNames(TScriptRegistry &reg, TVideoRecorder &recorder, TMovieScriptHooks hooks);

// The same three names for a program without a 3D view: each is a script
// error that says it needs the main window.  A registration that came first
// (the window's) keeps its place.
void RegisterWindowlessMovieNames(TScriptRegistry &reg);

} // namespace kalvion
