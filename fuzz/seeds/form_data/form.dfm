object Form: TFuzzForm
  Left = 5
  Font.Name = 'Sans'
  Font.Color = clBtnFace
  Font.Style = [fkOne, fkThree]
  Lines.Strings = (
    'a'
    'b')
  object Panel: TFuzzWidget
    Left = -300
    Small = 200
    Big = 5000000000
    Visible = False
    Kind = fkTwo
    Ratio = 1.5
    Scale = 0.25s
    Hint = 'x'#1078
    Items = <
      item
        Caption = 'first'
        Width = 7
        Buddy = Button
        Data = {
          0A0B0C}
      end
      item
      end>
    object Button: TFuzzWidget
      Left = 70000
      Buddy = Panel
      OnClick = Click
      OnValue = Value
    end
  end
end
