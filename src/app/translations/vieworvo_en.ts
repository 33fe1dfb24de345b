<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- English texts of the ViewOrvo window. The sources are the window's own
     Japanese texts (src/app/apptexts.h), byte for byte. -->
<TS version="2.1" language="en">
<context>
    <name>ViewOrvo</name>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...&#x9;Ctrl+O</source>
        <translation>&amp;Open...&#x9;Ctrl+O</translation>
    </message>
    <message>
        <source>最近使ったﾌｧｲﾙ</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰ(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰ(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>URLﾊﾞｰ(&amp;U)</source>
        <translation>&amp;URL Bar</translation>
    </message>
    <message>
        <source>音声(&amp;O)</source>
        <translation>V&amp;oice</translation>
    </message>
    <message>
        <source>実行(&amp;E)</source>
        <translation>&amp;Execute</translation>
    </message>
    <message>
        <source>リリース(&amp;R)...&#x9;Ctrl+R</source>
        <translation>&amp;Release...&#x9;Ctrl+R</translation>
    </message>
    <message>
        <source>デバッグ(&amp;D)...&#x9;Ctrl+D</source>
        <translation>&amp;Debug...&#x9;Ctrl+D</translation>
    </message>
    <message>
        <source>コンバート(&amp;C)...&#x9;Ctrl+C</source>
        <translation>&amp;Convert...&#x9;Ctrl+C</translation>
    </message>
    <message>
        <source>実行(&amp;E)...&#x9;Ctrl+E</source>
        <translation>&amp;Execute...&#x9;Ctrl+E</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ViewOrvo のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About ViewOrvo...</translation>
    </message>
    <message>
        <source>既存のﾌｧｲﾙを開く
開く</source>
        <translation>Open an existing file
Open</translation>
    </message>
    <message>
        <source>ORVOをHTMLファイルに変換する
コンバート</source>
        <translation>Convert the ORVO file into HTML files
Convert</translation>
    </message>
    <message>
        <source>プレゼンテーションを実行
実行</source>
        <translation>Run the presentation
Run</translation>
    </message>
    <message>
        <source>ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示
ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>Display program information, version number and copyright
About</translation>
    </message>
    <message>
        <source>ﾚﾃﾞｨ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>ViewOrvoのﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About ViewOrvo</translation>
    </message>
    <message>
        <source>日本語版 (Linux)</source>
        <translation>English version (Linux)</translation>
    </message>
    <message>
        <source>Linux 版: ViewOrvo の開発者たち
Qt 6 と Qt WebEngine を使用しています</source>
        <translation>Linux version: the developers of ViewOrvo
Built with Qt 6 and Qt WebEngine</translation>
    </message>
    <message>
        <source>聞いています…</source>
        <translation>Listening…</translation>
    </message>
    <message>
        <source>「%1」</source>
        <translation>Heard: %1</translation>
    </message>
    <message>
        <source>聞き取れませんでした</source>
        <translation>Not understood</translation>
    </message>
    <message>
        <source>マイクがありません</source>
        <translation>No microphone</translation>
    </message>
    <message>
        <source>音声認識が使えません</source>
        <translation>Speech recognition is not available</translation>
    </message>
    <message>
        <source>押している間、音声コマンドを聞く
聞く</source>
        <translation>Hold down to say a voice command
Listen</translation>
    </message>
</context>
</TS>
