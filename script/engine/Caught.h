#pragma once
// The one error policy of the player's steps: whatever a step throws that the
// reader may be told (a script error, a failed allocation, the frame's own
// exceptions, any other) reaches the failure as an EScript.

#include <exception>
#include <new>

#include "frame/EScript.h"
#include "frame/Exceptions.h"

// Runs the step; an EScript or a failed allocation goes to failure, the
// latter as an EScript of its message, instead.
template <class Step, class Failure> void Caught(Step step, Failure failure)
{
    try {
        step();
    } catch (const EScript& error) {
        failure(error);
    } catch (const std::bad_alloc&) {
        failure(EScript(kivotasuGameKit::CTextString("メモリが足りません。")));
    } catch (const kivotasuGameKit::KTL::CException& error) {
        failure(EScript(kivotasuGameKit::CTextString(error.GetError())));
    } catch (const std::exception& error) {
        failure(EScript(kivotasuGameKit::CTextString(error.what())));
    }
}
