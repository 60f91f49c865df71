#pragma once
// The clock screensaver built on the engine's application: it loads the clock room, puts the
// user's picture into its frame, turns the hands to the local time, runs the storm and the sound,
// and draws the room in its fixed order of passes.

#include <memory>
#include <vector>

#include "clock/ClockSound.h"
#include "clock/Thunderstorm.h"
#include "common/EngineString.h"
#include "scene/Animation.h"
#include "scene/RenderSorter.h"
#include "shell/Application.h"

class Scene;
class SceneNode;
class Texture;

class ClockApplication : public Application {
public:
    ClockApplication();
    ~ClockApplication() override;

    void Update() override;
    void Render() override;
    bool LoadContent() override;
    void ReadSceneSettings(const UdfTextNode& sceneProps) override;
    void Shutdown() override;
    bool LoadSettings() override;
    bool SaveSettings() override;
    // The picture controls, then the engine's procedure.
    intptr_t ConfigDialogProc(ui::Dialog* dialog, uint32_t message, sys::WParam wParam, sys::LParam lParam) override;

    const EngineString& PhotoPath() const { return photoPath_; }
    void SetPhotoPath(const EngineString& path) { photoPath_ = path; }

    // The named nodes the room is drawn around (null when the scene lacks them).
    SceneNode* glassNode() const { return glassNode_; }
    SceneNode* curtainNode() const { return curtainNode_; }
    SceneNode* outdoorNode() const { return outdoorNode_; }
    SceneNode* minuteHandNode() const { return minuteHandNode_; }
    SceneNode* hourHandNode() const { return hourHandNode_; }
    SceneNode* lampNode() const { return lampNode_; }
    const Thunderstorm& Storm() const { return storm_; }
    Thunderstorm& Storm() { return storm_; }
    const ClockSound& Sound() const { return sound_; }
    float flashLevel() const { return storm_.flashLevel(); }
    float winkLevel() const { return storm_.winkLevel(); }

private:
    void StartAnimations(SceneNode& root);
    void ShowUserPicture(SceneNode& root);
    void TakeOutSpecialNodes(SceneNode& root);
    // Hands the found node its role; false when `node` carries none of the special names.
    bool TakeSpecialNode(SceneNode& child);
    void AttachHandTrack(SceneNode& hand, const std::shared_ptr<Animation>& track);
    void TurnHands();
    void RenderOutdoor(RenderContext& context);
    void RenderRoom(Scene& room, const RenderCamera& camera);
    // Draws a node taken out of the room on its own; false when a draw failed.
    bool RenderNode(SceneNode* node, RenderContext& context);

    SceneNode* glassNode_ = nullptr;
    SceneNode* curtainNode_ = nullptr;
    SceneNode* outdoorNode_ = nullptr;
    SceneNode* minuteHandNode_ = nullptr;
    SceneNode* hourHandNode_ = nullptr;
    SceneNode* lampNode_ = nullptr;
    std::shared_ptr<Animation> hourHandTrack_ = std::make_shared<Animation>();
    std::shared_ptr<Animation> minuteHandTrack_ = std::make_shared<Animation>();
    EngineString photoPath_;
    Thunderstorm storm_;
    math::Vec3 tickPosition_;
    ClockSound sound_;
    Texture* picture_ = nullptr;
    // The special nodes' subtrees, out of the room's child list; freed before the scene.
    std::vector<std::unique_ptr<SceneNode>> takenNodes_;
    RenderSorter sorter_;
};
