<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="ja">
<!-- The user interface's texts in Japanese.  The windows' texts (the Tfrm contexts) and the
     core's (status, hints, lists, messages, help) are Japanese in the code; lorrin-cli's,
     rotateview's and QtClipboard's are English.  Every catalogue holds every text, a text
     in its own language translated as itself.  Qt's placeholders (%1, %2, ...) serve the
     core as well; a mnemonic is the letter after an ampersand. -->
<context>
    <name>TfrmMain</name>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>ﾌｧｲﾙ(&amp;F)</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>設定(&amp;C)</source>
        <translation>設定(&amp;C)</translation>
    </message>
    <message>
        <source>基本設定(&amp;B)..</source>
        <translation>基本設定(&amp;B)..</translation>
    </message>
    <message>
        <source>2次元ｺｰﾄﾞ(&amp;2)...</source>
        <translation>2次元ｺｰﾄﾞ(&amp;2)...</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄ(&amp;F)...</source>
        <translation>ﾌｫﾝﾄ(&amp;F)...</translation>
    </message>
    <message>
        <source>ｻｳﾝﾄﾞ(&amp;S)...</source>
        <translation>ｻｳﾝﾄﾞ(&amp;S)...</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視(&amp;C)</source>
        <translation>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視(&amp;C)</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>ﾍﾙﾌﾟ(&amp;H)</translation>
    </message>
    <message>
        <source>目次(&amp;C)</source>
        <translation>目次(&amp;C)</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ種の選択</source>
        <translation>ﾊﾞｰｺｰﾄﾞ種の選択</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ種</source>
        <translation>ﾊﾞｰｺｰﾄﾞ種</translation>
    </message>
    <message>
        <source>ｺｰﾄﾞ</source>
        <translation>ｺｰﾄﾞ</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞにするｺｰﾄﾞ。Enterで描画してｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします</source>
        <translation>ﾊﾞｰｺｰﾄﾞにするｺｰﾄﾞ。Enterで描画してｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします</translation>
    </message>
    <message>
        <source>桁数</source>
        <translation>桁数</translation>
    </message>
    <message>
        <source>ﾗﾍﾞﾙの向き</source>
        <translation>ﾗﾍﾞﾙの向き</translation>
    </message>
    <message>
        <source>画像を回す角度</source>
        <translation>画像を回す角度</translation>
    </message>
    <message>
        <source>描画+ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ</source>
        <translation>描画+ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ</translation>
    </message>
</context>
<context>
    <name>TfrmSize</name>
    <message>
        <source>基本設定</source>
        <translation>基本設定</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ高さ</source>
        <translation>ﾊﾞｰｺｰﾄﾞ高さ</translation>
    </message>
    <message>
        <source>ｶﾞｰﾄﾞﾊﾞｰ高さ増分</source>
        <translation>ｶﾞｰﾄﾞﾊﾞｰ高さ増分</translation>
    </message>
    <message>
        <source>ﾅﾛｰﾊﾞｰ幅</source>
        <translation>ﾅﾛｰﾊﾞｰ幅</translation>
    </message>
    <message>
        <source>太/細ﾊﾞｰ幅比</source>
        <translation>太/細ﾊﾞｰ幅比</translation>
    </message>
    <message>
        <source>ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ</source>
        <translation>ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ</translation>
    </message>
    <message>
        <source>ﾊﾞｰの高さ(ﾋﾟｸｾﾙ数)</source>
        <translation>ﾊﾞｰの高さ(ﾋﾟｸｾﾙ数)</translation>
    </message>
    <message>
        <source>ｶﾞｰﾄﾞﾊﾞｰを他のﾊﾞｰより長くする分(ﾋﾟｸｾﾙ数)</source>
        <translation>ｶﾞｰﾄﾞﾊﾞｰを他のﾊﾞｰより長くする分(ﾋﾟｸｾﾙ数)</translation>
    </message>
    <message>
        <source>細いﾊﾞｰの幅(ﾋﾟｸｾﾙ数)</source>
        <translation>細いﾊﾞｰの幅(ﾋﾟｸｾﾙ数)</translation>
    </message>
    <message>
        <source>太いﾊﾞｰの幅が細いﾊﾞｰの何倍か</source>
        <translation>太いﾊﾞｰの幅が細いﾊﾞｰの何倍か</translation>
    </message>
    <message>
        <source>ｷｬﾗｸﾀの間のすき間(細いﾊﾞｰの幅の何倍か)</source>
        <translation>ｷｬﾗｸﾀの間のすき間(細いﾊﾞｰの幅の何倍か)</translation>
    </message>
    <message>
        <source>数値はﾋﾟｸｾﾙ数で指定して下さい。</source>
        <translation>数値はﾋﾟｸｾﾙ数で指定して下さい。</translation>
    </message>
    <message>
        <source>ITF/NW7/C39時はﾁｪｯｸｻﾑを付ける</source>
        <translation>ITF/NW7/C39時はﾁｪｯｸｻﾑを付ける</translation>
    </message>
    <message>
        <source>OCR文字を表示する</source>
        <translation>OCR文字を表示する</translation>
    </message>
    <message>
        <source>OCR文字にﾁｪｯｸｻﾑやﾍｯﾀﾞを付加する</source>
        <translation>OCR文字にﾁｪｯｸｻﾑやﾍｯﾀﾞを付加する</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視機能をWPCコードに限定</source>
        <translation>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視機能をWPCコードに限定</translation>
    </message>
    <message>
        <source>ITF・NW7・Code39にﾁｪｯｸ文字を加える</source>
        <translation>ITF・NW7・Code39にﾁｪｯｸ文字を加える</translation>
    </message>
    <message>
        <source>ﾊﾞｰの下に読める文字を描く</source>
        <translation>ﾊﾞｰの下に読める文字を描く</translation>
    </message>
    <message>
        <source>読める文字にｽﾀｰﾄ/ｽﾄｯﾌﾟ文字やﾁｪｯｸ文字も含める</source>
        <translation>読める文字にｽﾀｰﾄ/ｽﾄｯﾌﾟ文字やﾁｪｯｸ文字も含める</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視で数字と点だけの文字列をJAN/UPCにする。外すと upc@ などで始まる文字列を変換する</source>
        <translation>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ監視で数字と点だけの文字列をJAN/UPCにする。外すと upc@ などで始まる文字列を変換する</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>ｷｬﾝｾﾙ</translation>
    </message>
</context>
<context>
    <name>TfrmSound</name>
    <message>
        <source>ｻｳﾝﾄﾞ指定</source>
        <translation>ｻｳﾝﾄﾞ指定</translation>
    </message>
    <message>
        <source>画像ｺﾋﾟｰ成功時</source>
        <translation>画像ｺﾋﾟｰ成功時</translation>
    </message>
    <message>
        <source>画像ｺﾋﾟｰ失敗時</source>
        <translation>画像ｺﾋﾟｰ失敗時</translation>
    </message>
    <message>
        <source>ｸﾘｯｸで、指定された音ﾌｧｲﾙを再生します</source>
        <translation>ｸﾘｯｸで、指定された音ﾌｧｲﾙを再生します</translation>
    </message>
    <message>
        <source>成功時の音の参照</source>
        <translation>成功時の音の参照</translation>
    </message>
    <message>
        <source>失敗時の音の参照</source>
        <translation>失敗時の音の参照</translation>
    </message>
    <message>
        <source>画像ｺﾋﾟｰ成功時に鳴らすWAVﾌｧｲﾙを選ぶ</source>
        <translation>画像ｺﾋﾟｰ成功時に鳴らすWAVﾌｧｲﾙを選ぶ</translation>
    </message>
    <message>
        <source>画像ｺﾋﾟｰ失敗時に鳴らすWAVﾌｧｲﾙを選ぶ</source>
        <translation>画像ｺﾋﾟｰ失敗時に鳴らすWAVﾌｧｲﾙを選ぶ</translation>
    </message>
    <message>
        <source>鳴らすWAVﾌｧｲﾙ。空なら標準の音</source>
        <translation>鳴らすWAVﾌｧｲﾙ。空なら標準の音</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ画像作成時に音を鳴らす</source>
        <translation>ﾊﾞｰｺｰﾄﾞ画像作成時に音を鳴らす</translation>
    </message>
    <message>
        <source>外すと音を鳴らさない</source>
        <translation>外すと音を鳴らさない</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>ｷｬﾝｾﾙ</translation>
    </message>
    <message>
        <source>WAVﾌｧｲﾙの指定</source>
        <translation>WAVﾌｧｲﾙの指定</translation>
    </message>
    <message>
        <source>WAVﾌｧｲﾙ(*.wav)</source>
        <translation>WAVﾌｧｲﾙ(*.wav)</translation>
    </message>
</context>
<context>
    <name>TfrmMatrix</name>
    <message>
        <source>2次元ｺｰﾄﾞ設定</source>
        <translation>2次元ｺｰﾄﾞ設定</translation>
    </message>
    <message>
        <source>QRｺｰﾄﾞ</source>
        <translation>QRｺｰﾄﾞ</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾏﾄﾘｯｸｽ</source>
        <translation>ﾃﾞｰﾀﾏﾄﾘｯｸｽ</translation>
    </message>
    <message>
        <source>ｴﾗｰ訂正ﾚﾍﾞﾙ</source>
        <translation>ｴﾗｰ訂正ﾚﾍﾞﾙ</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ</source>
        <translation>ﾊﾞｰｼﾞｮﾝ</translation>
    </message>
    <message>
        <source>形状</source>
        <translation>形状</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ列数</source>
        <translation>ﾃﾞｰﾀ列数</translation>
    </message>
    <message>
        <source>QRｺｰﾄﾞのｴﾗｰ訂正ﾚﾍﾞﾙ</source>
        <translation>QRｺｰﾄﾞのｴﾗｰ訂正ﾚﾍﾞﾙ</translation>
    </message>
    <message>
        <source>復元できる汚れ・欠けの割合</source>
        <translation>復元できる汚れ・欠けの割合</translation>
    </message>
    <message>
        <source>QRｺｰﾄﾞのﾊﾞｰｼﾞｮﾝ</source>
        <translation>QRｺｰﾄﾞのﾊﾞｰｼﾞｮﾝ</translation>
    </message>
    <message>
        <source>自動: 文字が収まる最小のﾊﾞｰｼﾞｮﾝ</source>
        <translation>自動: 文字が収まる最小のﾊﾞｰｼﾞｮﾝ</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾏﾄﾘｯｸｽの形状</source>
        <translation>ﾃﾞｰﾀﾏﾄﾘｯｸｽの形状</translation>
    </message>
    <message>
        <source>正方形か長方形か</source>
        <translation>正方形か長方形か</translation>
    </message>
    <message>
        <source>PDF417のｴﾗｰ訂正ﾚﾍﾞﾙ</source>
        <translation>PDF417のｴﾗｰ訂正ﾚﾍﾞﾙ</translation>
    </message>
    <message>
        <source>自動: 文字数に応じた推奨ﾚﾍﾞﾙ</source>
        <translation>自動: 文字数に応じた推奨ﾚﾍﾞﾙ</translation>
    </message>
    <message>
        <source>PDF417のﾃﾞｰﾀ列数</source>
        <translation>PDF417のﾃﾞｰﾀ列数</translation>
    </message>
    <message>
        <source>自動: 幅が高さのおよそ3倍</source>
        <translation>自動: 幅が高さのおよそ3倍</translation>
    </message>
    <message>
        <source>日本語もUTF-8で符号化する</source>
        <translation>日本語もUTF-8で符号化する</translation>
    </message>
    <message>
        <source>外すと、日本語の文字はShift_JISの漢字ﾓｰﾄﾞで符号化します</source>
        <translation>外すと、日本語の文字はShift_JISの漢字ﾓｰﾄﾞで符号化します</translation>
    </message>
    <message>
        <source>2次元ｺｰﾄﾞの下にOCR文字を表示する</source>
        <translation>2次元ｺｰﾄﾞの下にOCR文字を表示する</translation>
    </message>
    <message>
        <source>QR・ﾃﾞｰﾀﾏﾄﾘｯｸｽ・PDF417の下に文字列を描く</source>
        <translation>QR・ﾃﾞｰﾀﾏﾄﾘｯｸｽ・PDF417の下に文字列を描く</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>ｷｬﾝｾﾙ</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>ﾊﾞｰｼﾞｮﾝ情報</translation>
    </message>
</context>
<context>
    <name>QtClipboard</name>
    <message>
        <source>the picture on the clipboard goes with the program: %1</source>
        <translation>クリップボードの画像はプログラムとともに消えます: %1</translation>
    </message>
    <message>
        <source>keeping it needs an X display (XWayland on a Wayland session)</source>
        <translation>残すには X ディスプレイが要ります (Wayland のセッションでは XWayland)</translation>
    </message>
    <message>
        <source>the X display takes no second connection</source>
        <translation>X ディスプレイが 2 本目の接続を受け付けません</translation>
    </message>
</context>
<context>
    <name>status</name>
    <message>
        <source>UPC-E+ｱﾄﾞｵﾝ(2)</source>
        <translation>UPC-E+ｱﾄﾞｵﾝ(2)</translation>
    </message>
    <message>
        <source>JAN(8)+ｱﾄﾞｵﾝ(2)</source>
        <translation>JAN(8)+ｱﾄﾞｵﾝ(2)</translation>
    </message>
    <message>
        <source>JAN(13)/UPC-A+ｱﾄﾞｵﾝ(2)</source>
        <translation>JAN(13)/UPC-A+ｱﾄﾞｵﾝ(2)</translation>
    </message>
    <message>
        <source>UPC-E+ｱﾄﾞｵﾝ(5)</source>
        <translation>UPC-E+ｱﾄﾞｵﾝ(5)</translation>
    </message>
    <message>
        <source>JAN(8)+ｱﾄﾞｵﾝ(5)</source>
        <translation>JAN(8)+ｱﾄﾞｵﾝ(5)</translation>
    </message>
    <message>
        <source>JAN(13)/UPC-A+ｱﾄﾞｵﾝ(5)</source>
        <translation>JAN(13)/UPC-A+ｱﾄﾞｵﾝ(5)</translation>
    </message>
    <message>
        <source>UPC系ﾀｲﾌﾟ判別不能</source>
        <translation>UPC系ﾀｲﾌﾟ判別不能</translation>
    </message>
    <message>
        <source>UPC系 ｴﾝｺｰﾄﾞｴﾗｰ</source>
        <translation>UPC系 ｴﾝｺｰﾄﾞｴﾗｰ</translation>
    </message>
    <message>
        <source>ITF ｴﾗｰ</source>
        <translation>ITF ｴﾗｰ</translation>
    </message>
    <message>
        <source>NW7 ｴﾗｰ</source>
        <translation>NW7 ｴﾗｰ</translation>
    </message>
    <message>
        <source>CODE39 ｴﾝｺｰﾄﾞｴﾗｰ</source>
        <translation>CODE39 ｴﾝｺｰﾄﾞｴﾗｰ</translation>
    </message>
    <message>
        <source>CODE128(ASCII) ｴﾗｰ</source>
        <translation>CODE128(ASCII) ｴﾗｰ</translation>
    </message>
    <message>
        <source>CODE128(Binary) ｴﾗｰ</source>
        <translation>CODE128(Binary) ｴﾗｰ</translation>
    </message>
    <message>
        <source>CODE93 ｴﾗｰ</source>
        <translation>CODE93 ｴﾗｰ</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀがありません</source>
        <translation>ﾃﾞｰﾀがありません</translation>
    </message>
    <message>
        <source>UTF-8 ではありません</source>
        <translation>UTF-8 ではありません</translation>
    </message>
    <message>
        <source>NUL 文字は使えません</source>
        <translation>NUL 文字は使えません</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀが長すぎます</source>
        <translation>ﾃﾞｰﾀが長すぎます</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝが小さすぎます</source>
        <translation>ﾊﾞｰｼﾞｮﾝが小さすぎます</translation>
    </message>
    <message>
        <source>未定義ｴﾗｰ</source>
        <translation>未定義ｴﾗｰ</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞに書き込めません</source>
        <translation>ｸﾘｯﾌﾟﾎﾞｰﾄﾞに書き込めません</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ%1では小さすぎます</source>
        <translation>ﾊﾞｰｼﾞｮﾝ%1では小さすぎます</translation>
    </message>
    <message>
        <source>(%1文字, 最大%2文字)</source>
        <translation>(%1文字, 最大%2文字)</translation>
    </message>
    <message>
        <source>(%1文字, 最大%2文字, ﾊﾞｰｼﾞｮﾝ%3以上)</source>
        <translation>(%1文字, 最大%2文字, ﾊﾞｰｼﾞｮﾝ%3以上)</translation>
    </message>
    <message>
        <source>設定ﾌｧｲﾙを読めません(標準の設定を使用)</source>
        <translation>設定ﾌｧｲﾙを読めません(標準の設定を使用)</translation>
    </message>
</context>
<context>
    <name>settings</name>
    <message>
        <source>not a plain file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>larger than %1 MiB</source>
        <translation>%1 MiB を超えています</translation>
    </message>
    <message>
        <source>settings are not saved</source>
        <translation>設定は保存されません</translation>
    </message>
    <message>
        <source>settings are kept in %1</source>
        <translation>設定は %1 に保存されます</translation>
    </message>
    <message>
        <source>%1 is left alone (%2); %3</source>
        <translation>%1 はそのままにします (%2)。%3</translation>
    </message>
    <message>
        <source>another user's file</source>
        <translation>ほかのユーザーのファイル</translation>
    </message>
    <message>
        <source>beside an installed program</source>
        <translation>インストールされたプログラムの横</translation>
    </message>
    <message>
        <source>read-only, in another user's folder</source>
        <translation>ほかのユーザーのフォルダにあり読み取り専用</translation>
    </message>
    <message>
        <source>%1 is not read (%2): the defaults are used, and the file is kept as it is</source>
        <translation>%1 を読みません (%2)。標準の設定を使い、ファイルはそのまま残します</translation>
    </message>
</context>
<context>
    <name>hints</name>
    <message>
        <source>UPC: 0～9 (短縮,標準,UPC-E,UPC-D,ｱﾄﾞｵﾝ2/5桁)</source>
        <translation>UPC: 0～9 (短縮,標準,UPC-E,UPC-D,ｱﾄﾞｵﾝ2/5桁)</translation>
    </message>
    <message>
        <source>NW7: 0～9 - $ : / . + [start/end=A,B,C,D]</source>
        <translation>NW7: 0～9 - $ : / . + [start/end=A,B,C,D]</translation>
    </message>
    <message>
        <source>Code39: A～Z 0～9 - . $ / + &amp; [start/end=*]</source>
        <translation>Code39: A～Z 0～9 - . $ / + &amp; [start/end=*]</translation>
    </message>
    <message>
        <source>ITF: 0～9 偶数桁</source>
        <translation>ITF: 0～9 偶数桁</translation>
    </message>
    <message>
        <source>Code128: A～Z a～z 記号多数</source>
        <translation>Code128: A～Z a～z 記号多数</translation>
    </message>
    <message>
        <source>Code128(b): [start A～Z]の後,16進2桁のASCII ｺｰﾄﾞ</source>
        <translation>Code128(b): [start A～Z]の後,16進2桁のASCII ｺｰﾄﾞ</translation>
    </message>
    <message>
        <source>Code93: A～Z a～z 0～9 - . $ / + &amp;</source>
        <translation>Code93: A～Z a～z 0～9 - . $ / + &amp;</translation>
    </message>
    <message>
        <source>QR: 漢字 かな ｶﾅ 英数字 記号 改行 (Shift_JIS/UTF-8)</source>
        <translation>QR: 漢字 かな ｶﾅ 英数字 記号 改行 (Shift_JIS/UTF-8)</translation>
    </message>
    <message>
        <source>DataMatrix: 英数字 記号 日本語 改行 (UTF-8)</source>
        <translation>DataMatrix: 英数字 記号 日本語 改行 (UTF-8)</translation>
    </message>
    <message>
        <source>PDF417: 英数字 記号 日本語 改行 (UTF-8)</source>
        <translation>PDF417: 英数字 記号 日本語 改行 (UTF-8)</translation>
    </message>
</context>
<context>
    <name>lists</name>
    <message>
        <source>   0度</source>
        <translation>   0度</translation>
    </message>
    <message>
        <source>  90度</source>
        <translation>  90度</translation>
    </message>
    <message>
        <source> 180度</source>
        <translation> 180度</translation>
    </message>
    <message>
        <source> 270度</source>
        <translation> 270度</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>正方形</source>
        <translation>正方形</translation>
    </message>
    <message>
        <source>長方形</source>
        <translation>長方形</translation>
    </message>
</context>
<context>
    <name>messages</name>
    <message>
        <source>'%1' は整数ではありません</source>
        <translation>'%1' は整数ではありません</translation>
    </message>
    <message>
        <source>'%1' は長すぎます(%2ﾊﾞｲﾄまで)</source>
        <translation>'%1' は長すぎます(%2ﾊﾞｲﾄまで)</translation>
    </message>
</context>
<context>
    <name>help</name>
    <message>
        <source>lorrin.html</source>
        <translation>lorrin.html</translation>
    </message>
</context>
<context>
    <name>lorrin-cli</name>
    <message>
        <source>usage: lorrin-cli [OPTIONS] CODE...          one picture per code
       lorrin-cli [OPTIONS] --batch FILE|-   one code per line
  -t, --type TYPE      JAN/UPC, NW-7, Code39, ITF, Code128A, Code128B, Code93, QR,
                       DataMatrix, PDF417 (any case, the dash optional, "jan" for the
                       first) or the list index 0-9
  -a, --angle DEG      0, 90, 180 or 270
  -o, --output FILE    .png, .bmp or .svg by its ending; '-' writes PNG to standard
                       output.  With several codes or --batch, a pattern: {n} is the
                       line or argument number, {code} the code.  Default: {code}.png
                       for one code, {n}-{code}.png for several
      --height N  --guard N  --narrow N  --wide N  --gap N
                       bar height, guard bar extra height, narrow width (pixels),
                       wide element and character gap (modules).  Scanners read
                       --wide 3 for NW-7, 2 or 3 for Code39 and ITF, --gap 1 to 5
                       for NW-7 and Code39; other values are refused
      --check | --no-check      the check character of NW-7, Code39 and ITF
      --text | --no-text        the readable line under the bars (and under a
                                two-dimensional symbol, where it is off by default)
      --full-text | --typed-text  the line with start/stop and check characters
      --font NAME  --font-size PT
      --ecc L|M|Q|H        QR error correction (default M)
      --ecc 2..8           PDF417 error correction (default: the recommended minimum)
      --qr-version N|auto  QR version 1 to 40 (default: the smallest that holds the text)
      --qr-utf8 | --qr-shift-jis  a Japanese text in QR as UTF-8, or (the default)
                           as Shift_JIS in kanji mode when Shift_JIS holds it
      --dm-shape square|rect      Data Matrix shape (default square)
      --pdf-columns N|auto PDF417 data columns 1 to 30 (default: about 3:1 wide)
                           --narrow is the module size of the two-dimensional codes
      --dpi N              resolution of the picture (default 96, at most 54546084):
                           PNG and BMP hold it, an SVG is sized by it to print alike
      --settings FILE      read defaults from FILE alone instead of lorrin's settings
  -j, --jobs N             draw a batch on N threads at most (default: one for each
                           processor lorrin-cli may use); the files are the same
      --widths             print ReadableText, ElementWidths and ModuleCount instead;
                           a two-dimensional symbol as WxH and a line of 1 (dark)
                           and 0 per row of modules
      --clipboard          put the one code's picture on the clipboard instead of a
                           file (PNG, BMP and SVG, at --dpi); it stays there after
                           lorrin-cli ends, until another program takes the clipboard.
                           Needs an X display (XWayland on a Wayland session)
  -h, --help   --version
A batch line may start with a clipboard prefix (upc@ nw7@ c39@ itf@ 128a@ 128b@ c93@
qr@ dm@ pdf@) that picks its symbology.  Reports name a setting by its option and its key in the
settings file, as --narrow (narrow=).  Messages are Japanese when the locale (the first
of LC_ALL, LC_MESSAGES and LANG that is set) is Japanese, English otherwise.
Exit status:
  0  every picture drawn
  1  a code was refused, or named the same file as an earlier one; the others drawn
  2  bad usage: an unknown option or value, an unreadable batch file, or a setting
     that makes no picture or no readable symbol; nothing more is drawn
  3  a picture could not be written (a missing or read-only folder, a full disk),
     or the clipboard could not take it; the run stops there
</source>
        <translation>使い方: lorrin-cli [オプション] コード...           コードごとに画像を 1 つ
        lorrin-cli [オプション] --batch ファイル|-  1 行に 1 つのコード
  -t, --type 種類      JAN/UPC、NW-7、Code39、ITF、Code128A、Code128B、Code93、
                       QR、DataMatrix、PDF417 (大文字小文字は問わず、ダッシュは
                       省略可、最初のものは "jan" でも可)、または一覧の番号 0-9
  -a, --angle 角度     0、90、180、270
  -o, --output 名前    末尾の .png、.bmp、.svg で形式が決まります。'-' は PNG
                       を標準出力に書きます。コードが複数のときや --batch では
                       名前の型: {n} は行または引数の番号、{code} はコード。
                       省略時はコード 1 つなら {code}.png、複数なら {n}-{code}.png
      --height N  --guard N  --narrow N  --wide N  --gap N
                       バーの高さ、ガードバーの高さ増分、ナローバー幅 (ピクセル)
                       と、太いバーの幅、キャラクタ間ギャップ (モジュール)。
                       スキャナが読めるのは NW-7 で --wide 3、Code39 と ITF で
                       2 か 3、NW-7 と Code39 で --gap 1 から 5。ほかの値は受け
                       付けません
      --check | --no-check      NW-7、Code39、ITF のチェック文字
      --text | --no-text        バーの下の読める文字 (2次元コードの下にも。
                                2次元コードでは省略時は付きません)
      --full-text | --typed-text  読める文字にスタート/ストップ文字とチェック
                                文字を含めるかどうか
      --font 名前  --font-size ポイント
      --ecc L|M|Q|H        QR のエラー訂正 (省略時 M)
      --ecc 2..8           PDF417 のエラー訂正 (省略時は推奨される最小のレベル)
      --qr-version N|auto  QR のバージョン 1 から 40 (省略時は入る最小のもの)
      --qr-utf8 | --qr-shift-jis  QR で日本語を UTF-8 で符号化する、または
                           (省略時) Shift_JIS で表せれば漢字モードで符号化する
      --dm-shape square|rect      データマトリックスの形状 (省略時 square)
      --pdf-columns N|auto PDF417 のデータ列数 1 から 30 (省略時は幅が高さの
                           およそ 3 倍)。2次元コードのセルの大きさは --narrow
      --dpi N              画像の解像度 (省略時 96、最大 54546084): PNG と BMP
                           はこれを記録し、SVG はこれに合わせた大きさで印刷
                           されます
      --settings ファイル  lorrin の設定の代わりに、このファイルだけから既定値を
                           読みます
  -j, --jobs N             バッチを最大 N 個のスレッドで描きます (省略時は
                           lorrin-cli が使えるプロセッサ 1 つにつき 1 つ)。
                           ファイルは同じです
      --widths             画像の代わりに ReadableText、ElementWidths、
                           ModuleCount を表示します。2次元コードは 幅x高さ と、
                           セルの行ごとに 1 (黒) と 0 の並び
      --clipboard          コード 1 つの画像をファイルでなくクリップボードに
                           置きます (PNG、BMP、SVG、--dpi の解像度)。lorrin-cli
                           が終わっても、ほかのプログラムがクリップボードを使う
                           まで残ります。X ディスプレイが要ります (Wayland の
                           セッションでは XWayland)
  -h, --help   --version
バッチの行は、バーコード種を選ぶクリップボードの接頭辞 (upc@ nw7@ c39@ itf@
128a@ 128b@ c93@ qr@ dm@ pdf@) で始めることもできます。報告は設定をオプションと
設定ファイルのキーで --narrow (narrow=) のように示します。ロケール (LC_ALL、
LC_MESSAGES、LANG のうち最初に設定されているもの) が日本語ならメッセージは
日本語、ほかは英語です。
終了ステータス:
  0  すべての画像を作りました
  1  受け付けられないコードか、前のコードと同じファイル名のコードがありました。
     ほかの画像は作りました
  2  使い方の誤り: 不明なオプションや値、読めないバッチファイル、または画像や
     読み取れるシンボルにならない設定。それ以上は何も作りません
  3  画像を書き込めなかった (フォルダがない、読み取り専用、ディスクがいっぱい)
     か、クリップボードが受け取らなかった。そこで止まります
</translation>
    </message>
    <message>
        <source>%1
Try 'lorrin-cli --help'.</source>
        <translation>%1
使い方は 'lorrin-cli --help' で表示されます。</translation>
    </message>
    <message>
        <source>no settings file %1</source>
        <translation>設定ファイル %1 がありません</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 を読めません: %2</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>標準入力</translation>
    </message>
    <message>
        <source>%1: not a whole number: %2</source>
        <translation>%1: 整数ではありません: %2</translation>
    </message>
    <message>
        <source>unknown type: %1</source>
        <translation>不明なバーコード種: %1</translation>
    </message>
    <message>
        <source>angle must be 0, 90, 180 or 270: %1</source>
        <translation>角度は 0、90、180、270 のどれかです: %1</translation>
    </message>
    <message>
        <source>--dpi must be 1 to %1: %2</source>
        <translation>--dpi は 1 から %1 までです: %2</translation>
    </message>
    <message>
        <source>--jobs must be 1 to %1: %2</source>
        <translation>--jobs は 1 から %1 までです: %2</translation>
    </message>
    <message>
        <source>--ecc must be L, M, Q or H (QR) or 2 to 8 (PDF417): %1</source>
        <translation>--ecc は L、M、Q、H (QR) か 2 から 8 (PDF417) です: %1</translation>
    </message>
    <message>
        <source>%1 must be 1 to %2 or auto: %3</source>
        <translation>%1 は 1 から %2 まで、または auto です: %3</translation>
    </message>
    <message>
        <source>--dm-shape must be square or rect: %1</source>
        <translation>--dm-shape は square か rect です: %1</translation>
    </message>
    <message>
        <source>unknown option: %1</source>
        <translation>不明なオプション: %1</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 は値をとりません</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が要ります</translation>
    </message>
    <message>
        <source>give codes or --batch, not both</source>
        <translation>コードと --batch は一緒に指定できません</translation>
    </message>
    <message>
        <source>no code given</source>
        <translation>コードが指定されていません</translation>
    </message>
    <message>
        <source>--clipboard takes one code</source>
        <translation>--clipboard にはコードを 1 つだけ指定します</translation>
    </message>
    <message>
        <source>give --clipboard or %1, not both</source>
        <translation>--clipboard と %1 は一緒に指定できません</translation>
    </message>
    <message>
        <source>output must end in .png, .bmp or .svg: %1</source>
        <translation>出力ファイル名の終わりは .png、.bmp、.svg のどれかです: %1</translation>
    </message>
    <message>
        <source>several pictures need {n} or {code} in the output name</source>
        <translation>画像が複数のときは出力ファイル名に {n} か {code} が要ります</translation>
    </message>
    <message>
        <source>argument %1</source>
        <translation>引数 %1</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>%1 行目</translation>
    </message>
    <message>
        <source>same file as %1: %2</source>
        <translation>%1 と同じファイルです: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>標準出力</translation>
    </message>
    <message>
        <source>%1 cannot make a picture</source>
        <translation>%1 では画像を作れません</translation>
    </message>
    <message>
        <source>too long for a picture</source>
        <translation>長すぎて画像にできません</translation>
    </message>
    <message>
        <source>cannot put the picture on the clipboard: %1</source>
        <translation>画像をクリップボードに置けません: %1</translation>
    </message>
    <message>
        <source>%1 of %2 codes</source>
        <translation>%1 / %2 コード</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 から %2</translation>
    </message>
    <message>
        <source>%1 gives no readable %2: it takes %3 modules</source>
        <translation>%1 では %2 を読み取れません: %3 モジュールにしてください</translation>
    </message>
</context>
<context>
    <name>rotateview::ViewerWindow</name>
    <message>
        <source>&amp;Transparent</source>
        <translation>透過(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Monochrome</source>
        <translation>モノクロ(&amp;M)</translation>
    </message>
    <message>
        <source>Se&amp;pia</source>
        <translation>セピア(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Negative</source>
        <translation>ネガ(&amp;N)</translation>
    </message>
    <message>
        <source>S&amp;ketch</source>
        <translation>スケッチ(&amp;K)</translation>
    </message>
    <message>
        <source>&amp;Clicks through background</source>
        <translation>背景はクリックを通す(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>保存(&amp;S)...</translation>
    </message>
    <message>
        <source>P&amp;rint...</source>
        <translation>印刷(&amp;R)...</translation>
    </message>
    <message>
        <source>Angle (Left/Right)</source>
        <translation>角度 (←/→)</translation>
    </message>
    <message>
        <source>Zoom (Up/Down)</source>
        <translation>拡大率 (↑/↓)</translation>
    </message>
    <message>
        <source>See-through (0-7)</source>
        <translation>透け具合 (0-7)</translation>
    </message>
    <message>
        <source>%1.%2 degrees, %3 %, see-through %4/8%5</source>
        <translation>%1.%2 度、%3 %、透け具合 %4/8%5</translation>
    </message>
    <message>
        <source>click on the picture at %1,%2</source>
        <translation>画像の %1,%2 をクリック</translation>
    </message>
    <message>
        <source>click on the background at %1,%2</source>
        <translation>背景の %1,%2 をクリック</translation>
    </message>
    <message>
        <source>Save the turned image</source>
        <translation>回転した画像の保存</translation>
    </message>
    <message>
        <source>Bitmaps (*.bmp)</source>
        <translation>ビットマップ (*.bmp)</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>%1 を保存できません: %2</translation>
    </message>
    <message>
        <source>The printer could not be opened.</source>
        <translation>プリンターを開けませんでした。</translation>
    </message>
</context>
<context>
    <name>rotateview</name>
    <message>
        <source>usage: rotateview FILE.bmp</source>
        <translation>使い方: rotateview ファイル.bmp</translation>
    </message>
    <message>
        <source>%1: not a bitmap the component can show</source>
        <translation>%1: 表示できるビットマップではありません</translation>
    </message>
</context>
</TS>
