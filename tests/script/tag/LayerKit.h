#pragma once
// The picture families on their own: their tags routed to them as the
// dispatcher routes them, composed in the engine's layer order, and written
// back as tag text.

#include <string>

#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/tag/LayerManagers.h"
#include "tests/script/dib/PictureKit.h"
#include "tests/script/tag/TextKit.h"

namespace layerkit {

struct Layers {
    TAG::CActManager acts;
    TAG::CBackManager backs;
    TAG::CPaintManager paints;
    TAG::CVisualManager visuals;
    TAG::CCutManager cuts;

    void Handle(CTagAttributes& record)
    {
        switch (record.GetId()) {
        case TagId::Act: acts.SetElement(record); break;
        case TagId::DefaultAct: acts.ParseDefault(record); break;
        case TagId::EndAct: acts.RemoveElement(record); break;
        case TagId::HideAct: acts.HideElement(record); break;
        case TagId::Back: visuals.RemoveAll(), acts.RemoveAll(), backs.SetElement(record); break;
        case TagId::DefaultBack: backs.ParseDefault(record); break;
        case TagId::Paint: paints.SetElement(record); break;
        case TagId::DefaultPaint: paints.ParseDefault(record); break;
        case TagId::HidePaint: paints.HideElement(record); break;
        case TagId::Visual: backs.RemoveAll(), acts.RemoveAll(), visuals.SetElement(record); break;
        case TagId::DefaultVisual: visuals.ParseDefault(record); break;
        case TagId::Cut: cuts.SetElement(record); break;
        case TagId::DefaultCut: cuts.ParseDefault(record); break;
        case TagId::Paste:
            if (DIB::CDIB32Ex* target = paints.GetPicture(record.GetName())) cuts.GetFirstPicture()->Paste(*target, record);
            break;
        default: break;
        }
    }
    void Run(const std::string& script)
    {
        textkit::Replay(script, [this](CTagAttributes& record) { Handle(record); });
    }
    // The layers in the order of the engine's composition.
    void Compose(textkit::Plane& screen)
    {
        screen.Clear();
        if (visuals.IsShowing()) {
            visuals.DrawAll(screen);
            return;
        }
        backs.DrawAll(screen);
        acts.DrawAll(screen);
        paints.DrawAll(screen);
    }
    void WriteAll(const std::string& file)
    {
        kivotasuGameKit::CTextFileWriter writer(file);
        backs.WriteAll(writer);
        acts.WriteAll(writer);
        visuals.WriteAll(writer);
        paints.WriteAll(writer);
        cuts.WriteAll(writer);
    }
};

} // namespace layerkit
