#pragma once
// The cat's menu "ぽてまる君(&W)": its exercise answer and the meeting in the cat window, whose
// room picture and fur choice last for the whole run.

#include "mascot/cat_room.h"

namespace pote {

struct AppContext;
namespace mascot {
class MascotView;
}

class CatCommands {
public:
    CatCommands(AppContext& context, mascot::MascotView& cat);

    void N10Click();
    void M1Click();

private:
    AppContext& m_context;
    mascot::MascotView& m_cat;
    mascot::CatRoom m_room;
};

} // namespace pote
