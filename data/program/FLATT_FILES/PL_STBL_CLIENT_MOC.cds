<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="3"/>
<FIELD attrname="CLIENT" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="011" CLIENT="北海道開発局"/>
<ROW CD="021" CLIENT="東北地方整備局"/>
<ROW CD="031" CLIENT="関東地方整備局"/>
<ROW CD="041" CLIENT="北陸地方整備局"/>
<ROW CD="051" CLIENT="中部地方整備局"/>
<ROW CD="061" CLIENT="近畿地方整備局"/>
<ROW CD="071" CLIENT="中国地方整備局"/>
<ROW CD="081" CLIENT="四国地方整備局"/>
<ROW CD="091" CLIENT="九州地方整備局"/>
<ROW CD="092" CLIENT="沖縄総合事務局"/>
</ROWDATA>
</DATAPACKET>
