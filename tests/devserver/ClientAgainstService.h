#pragma once
// What the tests that drive the client against the shared local service start from: the service, its
// database and a plain HTTPS client of it, scripted message boxes, and the client's service client.
#include "devserver/Database.h"
#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"
#include "tests/devserver/ServiceHarness.h"

struct ClientAgainstService {
    devserver::testing::RunningService &service = devserver::testing::sharedService();
    devserver::Database &db = service.server().database();
    devserver::testing::ServiceClient serviceClient{service};
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    TRuvasaLib lib{ServiceEndpoint{service.base(), service.caFile().string()}};
};
