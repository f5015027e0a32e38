#include "scriptedboxes.h"

namespace mq7410::test {

BoxAnswer ScriptedBoxes::show(const BoxRequest &request)
{
    shown.push_back(request);
    if (whileShown)
        whileShown(request);
    if (request.kind != BoxKind::YesNoQuestion)
        return BoxAnswer::Ok;
    if (questionAnswers.empty())
        return BoxAnswer::No;
    const BoxAnswer answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
}

} // namespace mq7410::test
