#pragma once

#include "fakewindow.h"
#include "form/form1.h"

namespace korvelian {

// Form1 wired to the recording fake: the fake's own events reach the form's handlers.
struct FormFixture
{
    FakeWindow fake;
    Form1 form{fake};

    FormFixture() { fake.deliverTo(form); }
    FormFixture(const FormFixture&) = delete;
    FormFixture& operator=(const FormFixture&) = delete;

    FormVariables& vars() { return form.variables(); }
};

} // namespace korvelian
