<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>posewright</name>
    <message>
        <source>Direct3D の初期化に失敗しました。</source>
        <translation>Direct3D initialization failed.</translation>
    </message>
    <message>
        <source>キーフレーム間の補間情報も全て出力する</source>
        <translation>Write all interpolated frames between keyframes</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ファイルの保存をキャンセルしました</source>
        <translation>Saving the file was cancelled.</translation>
    </message>
    <message>
        <source>インデックスが全て0になっています</source>
        <translation>All indices are 0.</translation>
    </message>
    <message>
        <source>0以外の同じインデックスが存在します</source>
        <translation>The same index other than 0 is used more than once.</translation>
    </message>
    <message>
        <source>ウェイト値が不正です</source>
        <translation>Invalid weight value.</translation>
    </message>
</context>
</TS>
