#include "app/agentruntime.h"

#include <QFile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace orvo::app {

namespace {

QString scriptName()
{
    return QStringLiteral("orvo-agent-runtime");
}

} // namespace

QString agentRuntimeSource()
{
    QFile file(QStringLiteral(":/player/orvo-player.js"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

void installAgentRuntime(QWebEngineScriptCollection& scripts)
{
    if (!scripts.find(scriptName()).isEmpty()) {
        return;
    }
    const QString source = agentRuntimeSource();
    if (source.isEmpty()) {
        return;
    }
    QFile channelFile(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (channelFile.open(QIODevice::ReadOnly)) {
        QWebEngineScript channel;
        channel.setName(QStringLiteral("orvo-web-channel"));
        channel.setSourceCode(QString::fromUtf8(channelFile.readAll()));
        channel.setWorldId(QWebEngineScript::MainWorld);
        channel.setRunsOnSubFrames(true);
        channel.setInjectionPoint(QWebEngineScript::DocumentCreation);
        scripts.insert(channel);
    }
    QWebEngineScript script;
    script.setName(scriptName());
    script.setSourceCode(source);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    // Before the page's own scripts run, so that the runtime can take over
    // their language and the objects they name.
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    scripts.insert(script);
}

} // namespace orvo::app
