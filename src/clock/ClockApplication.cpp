#include "clock/ClockApplication.h"

#include "clock/ClockHands.h"
#include "clock/LightMaps.h"
#include "common/Log.h"
#include "media/Manifest.h"
#include "platform/sys/System.h"
#include "scene/DeviceStateCache.h"
#include "scene/Scene.h"
#include "scene/SceneNode.h"
#include "shell/GammaRamp.h"
#include "textures/Texture.h"
#include "textures/TextureManager.h"
#include "udf/UdfTextNode.h"

using namespace gfx;

namespace {

constexpr uint32_t kPlayInExplicitRange = 8;
constexpr const char* kSceneFile = "clock.udf";

uint32_t Grey(uint32_t alpha, uint32_t level) { return alpha << 24 | level << 16 | level << 8 | level; }

}  // namespace

ClockApplication::ClockApplication() { scene.camSpeed = 1.0f; }

ClockApplication::~ClockApplication() {
    if (picture_) picture_->Release();
}

void ClockApplication::ReadSceneSettings(const UdfTextNode& sceneProps) {
    if (const UdfTextNode* quiet = sceneProps.FindChild("QuietTime")) storm_.SetQuietTime(quiet->AsInt());
    if (const UdfTextNode* wink = sceneProps.FindChild("WinkTime")) storm_.SetWinkTime(wink->AsInt());
}

bool ClockApplication::LoadContent() {
    Log("LoadCustom started\n");
    const FileSource sceneFile = Media().File(kSceneFile);
    const auto window = reinterpret_cast<uintptr_t>(SaverWindow() ? SaverWindow()->NativeHandle() : nullptr);
    sound_.Start(settings, window);
    Scene* room = GetScene();
    // A scene that does not load leaves an empty room; the storm and the sound still run.
    Log(room && room->load(sceneFile, EngineString()) ? "Scene Loaded\n" : "Cannot Load Scene\n");
    if (room) {
        SceneNode& root = room->root();
        StartAnimations(root);
        ShowUserPicture(root);
        RewriteLightMaps(root);
        TakeOutSpecialNodes(root);
    }
    storm_.SetBaseRamp(BuildGammaRamp(settings.Gamma));
    FallbackCamera().position = {-200.0f, 100.0f, 0.0f};
    FallbackCamera().forward = {1.0f, 0.0f, 0.0f};
    storm_.Start();
    sound_.Load(settings, Media().File(EngineString()), EngineString(MediaFolder::kName), tickPosition_);
    if (room) room->root().play(0, true);
    storm_.ResetWinkPhase();
    return true;
}

void ClockApplication::StartAnimations(SceneNode& root) {
    root.playAnimation(0, EngineString(), true);
    root.setSpeed(SceneNode::kAllComponents, 1.0f, true);
    root.setFlags(SceneNode::kAllComponents, kPlayInExplicitRange, true);
    TimeRange range;
    if (root.getAnimationRange(range)) root.setPlayRange(SceneNode::kAllComponents, range, true);
}

void ClockApplication::ShowUserPicture(SceneNode& root) {
    if (photoPath_.empty() || !Textures()) return;
    TextureDescriptor request;
    request.source = FileSource(photoPath_);
    ::Texture* texture = Textures()->GetTexture(request, nullptr);
    SceneNode* frame = root.find(manifest::kPictureNode);
    Renderable* renderable = frame ? frame->getRenderable() : nullptr;
    if (!renderable || !texture) {
        // The frame keeps the picture the scene gives it.
        if (texture) texture->Release();
        return;
    }
    if (picture_) picture_->Release();
    picture_ = texture;
    renderable->getStateBlock().stages[0].texture = picture_;
}

void ClockApplication::TakeOutSpecialNodes(SceneNode& root) {
    for (size_t index = 0; index < root.children().size();) {
        SceneNode& child = *root.children()[index];
        if (!TakeSpecialNode(child)) {
            ++index;
            continue;
        }
        // Drawn by its own pass from now on; the next child moved into this index.
        takenNodes_.push_back(root.removeChild(child.getName()));
    }
}

bool ClockApplication::TakeSpecialNode(SceneNode& child) {
    if (SceneNode* hand = child.find(manifest::kHourHandNode)) {
        hourHandNode_ = hand;
        tickPosition_ = hand->getTransform().getPosition();
        AttachHandTrack(*hand, hourHandTrack_);
    } else if (SceneNode* minute = child.find(manifest::kMinuteHandNode)) {
        minuteHandNode_ = minute;
        AttachHandTrack(*minute, minuteHandTrack_);
    } else if (SceneNode* glass = child.find(manifest::kClockGlassNode)) {
        glassNode_ = glass;
    } else if (SceneNode* lamp = child.find(manifest::kLampNode)) {
        lampNode_ = lamp;
    } else if (SceneNode* curtain = child.find(manifest::kCurtainNode)) {
        curtainNode_ = curtain;
    } else if (SceneNode* outdoor = child.find(manifest::kOutdoorNode)) {
        outdoorNode_ = outdoor;
    } else {
        return false;
    }
    return true;
}

void ClockApplication::AttachHandTrack(SceneNode& hand, const std::shared_ptr<Animation>& track) {
    SetHandKey(*track, 0.0f);
    hand.addAnimation(EngineString(), track);
    hand.playAnimation(0, EngineString(), true);
    hand.play(0, true);
}

void ClockApplication::Update() {
    sound_.Update(settings, Mode(), Camera());  // traces "BASS stuff ok"
    TurnHands();
    Log("Ani ok\n");
    storm_.StartFlashAndThunder(sound_);
    Log("Thunder ok\n");
    switch (storm_.StartWinkAndEvaluateFlash()) {
        case Thunderstorm::GammaChange::kFlash: SetDeviceGammaRamp(Device(), storm_.FlashRamp()); break;
        case Thunderstorm::GammaChange::kBase: SetDeviceGammaRamp(Device(), storm_.BaseRamp()); break;
        case Thunderstorm::GammaChange::kNone: break;
    }
    Log("Flashes ok\n");
    storm_.EvaluateWink();
    Log("Ending iteration\n");
}

void ClockApplication::TurnHands() {
    const HandAngles angles = HandAnglesAt(sys::GetSystem().GetLocalTime());
    SetHandKey(*hourHandTrack_, angles.hour);
    SetHandKey(*minuteHandTrack_, angles.minute);
}

void ClockApplication::Shutdown() {
    if (Mode() != RunMode::Preview && Mode() != RunMode::Configure) SetDeviceGammaRamp(Device(), storm_.BaseRamp());
    sound_.Shutdown(Mode());
}

void ClockApplication::Render() {
    RenderContext context;
    RenderCamera& camera = context.camera;
    camera.setEye(Camera().position);
    camera.setDirection(Camera().forward);
    camera.setUp(Camera().up);
    camera.setNearPlane(scene.nearPlane);
    camera.setFarPlane(scene.farPlane);
    camera.setFov(scene.fov);
    camera.setAspect(Aspect());
    context.view = &context.camera;

    RenderOutdoor(context);
    RenderNode(lampNode_, context);
    Log("Lamp ok\n");
    if (Scene* room = GetScene()) RenderRoom(*room, camera);
    RenderNode(hourHandNode_, context);
    RenderNode(minuteHandNode_, context);
    Log("Arrows ok\n");
    RenderNode(glassNode_, context);
    RenderNode(curtainNode_, context);
    Log("Curtain & Glass ok\n");
}

void ClockApplication::RenderOutdoor(RenderContext& context) {
    if (outdoorNode_) {
        if (Renderable* renderable = outdoorNode_->getRenderable()) {
            // The flash brightens the landscape: the texture factor is added in its second stage.
            StageState& stage = renderable->getStateBlock().stages[1];
            stage.colorOp = D3DTOP_ADD;
            stage.colorArg1 = D3DTA_CURRENT;
            stage.colorArg2 = D3DTA_TFACTOR;
        }
        DeviceStateCache& cache = DeviceStateCache::Get();
        const float flash = storm_.flashLevel();
        cache.setRenderState(D3DRS_TEXTUREFACTOR, Grey(255, static_cast<uint32_t>(flash * 64.0f)));
        const float ambient = 0.5f + 0.7f * flash;
        cache.setRenderState(D3DRS_AMBIENT, PackColor(EngineColor{1.0f, ambient, ambient, ambient}));
        if (!RenderNode(outdoorNode_, context)) Log("Outdoor render failed\n");
        cache.setRenderState(D3DRS_AMBIENT, PackColor(scene.ambient));
        // Unlike the other passes' lines, this one belongs to the landscape: no landscape, no line.
        Log("Outdoor ok\n");
    }
}

void ClockApplication::RenderRoom(Scene& room, const RenderCamera& camera) {
    // The wink darkens every light map by the texture factor's grey.
    DeviceStateCache::Get().setRenderState(D3DRS_TEXTUREFACTOR, Grey(0, static_cast<uint32_t>(storm_.winkLevel() * 128.0f)));
    sorter_.reset(camera);
    sorter_.setLights(&room.lights());
    const ScenePassResult pass = RunScenePass(room.root(), sorter_);
    if (!pass.traversed) Log("Scene render failed\n");
    if (!pass.flushed.ok) Log("Rendersorter failed\n");
    Log("Scene ok\n");
}

bool ClockApplication::RenderNode(SceneNode* node, RenderContext& context) {
    if (!node) return true;
    context.currentWorld = Matrix::Identity();
    context.currentBind = Matrix::Identity();
    return node->render(context);
}
